# The ctypes tables against the public header, and the host's string objects seen from C.
import ctypes
import re
import unittest

from lumoidl import TypeKind, _abi, _host

from . import support

TABLES = {
    "ILumoStringVtbl": _host._StringTable,
    "ILumoStringArrayVtbl": _host._StringArrayTable,
    "ILumoIDLParseResultVtbl": _abi.ResultTable,
    "ILumoIDLLibraryVtbl": _abi.LibraryTable,
    "ILumoIDLInterfaceVtbl": _abi.InterfaceTable,
    "ILumoIDLMethodVtbl": _abi.MethodTable,
    "ILumoIDLMethodArgumentVtbl": _abi.ArgumentTable,
    "ILumoIDLEnumerationVtbl": _abi.EnumerationTable,
    "ILumoIDLCategoryIDVtbl": _abi.CategoryIDTable,
    "ILumoIDLTypeVtbl": _abi.TypeTable,
}


class HeaderTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(support.HEADER, encoding="utf-8") as header:
            cls.header = header.read()

    def test_every_table_has_the_header_operations_in_slot_order(self):
        for name, table in TABLES.items():
            with self.subTest(table=name):
                body = re.search(r"typedef struct %s \{(.*?)\} %s;" % (name, name), self.header, re.S).group(1)
                operations = re.findall(r"\(\*(\w+)\)\(", body)
                self.assertEqual([field for field, _ in table._fields_], operations)
                slots = int(re.search(r"LUMO_CHECK_SLOTS\(%s, (\d+)\)" % name, self.header).group(1))
                self.assertEqual(ctypes.sizeof(table), slots * ctypes.sizeof(ctypes.c_void_p))

    def test_type_kinds_match_the_header(self):
        kinds = {name: int(value) for name, value in re.findall(r"LUMO_KIND_(\w+) = (\d+)", self.header)}
        self.assertEqual(kinds, {kind.name: kind.value for kind in TypeKind})


def units(address, count):
    return list((ctypes.c_uint16 * count).from_address(address))


class HostStringTest(unittest.TestCase):
    """Calls the host objects through their tables, as the library does."""

    def table(self, host_object, table_type):
        record = _abi.Record.from_address(host_object.address)
        self.assertEqual(record.me, host_object.address)
        return table_type.from_address(record.vTbl), record.me

    def get(self, text):
        table, me = self.table(text, _host._StringTable)
        data, length = ctypes.c_void_p(), ctypes.c_uint32()
        self.assertEqual(table.get(me, ctypes.byref(data), ctypes.byref(length)), 0)
        return data.value, length.value

    def test_get_yields_utf16_units_with_a_terminating_zero(self):
        text = _host.HostString("añ😀")  # holds the buffer that `data` points into
        data, length = self.get(text)
        self.assertEqual(length, 4)
        self.assertEqual(units(data, 5), [0x61, 0xF1, 0xD83D, 0xDE00, 0])

    def test_get_of_an_empty_string_points_to_a_zero(self):
        text = _host.HostString()
        data, length = self.get(text)
        self.assertEqual((length, units(data, 1)), (0, [0]))

    def test_set_copies_exactly_the_given_units(self):
        text = _host.HostString("old")
        table, me = self.table(text, _host._StringTable)
        source = (ctypes.c_uint16 * 6)(0x78, 0, 0xD834, 0xDD1E, 0xDC00, 0x79)
        self.assertEqual(table.set(me, ctypes.addressof(source), 5), 0)
        self.assertEqual(text.text, "x\0𝄞\udc00")
        data, length = self.get(text)
        self.assertEqual((length, units(data, 6)), (5, [0x78, 0, 0xD834, 0xDD1E, 0xDC00, 0]))

    def test_set_with_no_units_empties_the_string(self):
        text = _host.HostString("old")
        table, me = self.table(text, _host._StringTable)
        self.assertEqual(table.set(me, None, 0), 0)
        self.assertEqual(text.text, "")

    def test_the_array_yields_its_strings_in_order(self):
        array = _host.HostStringArray(["a.idl", "b.idl"])
        table, me = self.table(array, _host._StringArrayTable)
        elements, count = ctypes.c_void_p(), ctypes.c_uint32()
        self.assertEqual(table.get(me, ctypes.byref(elements), ctypes.byref(count)), 0)
        self.assertEqual(count.value, 2)
        pointers = (ctypes.c_void_p * 2).from_address(elements.value)
        self.assertEqual(list(pointers), [string.address for string in array.strings])


if __name__ == "__main__":
    unittest.main()
