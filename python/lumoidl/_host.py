# The host's side of the boundary: ILumoString and ILumoStringArray objects served by Python.
from __future__ import annotations

import ctypes
import sys
import weakref
from ctypes import POINTER, c_uint16, c_uint32, c_void_p
from typing import Any, Union, cast

from ._abi import LUMO_OK, Record

# One LumoChar is one UTF-16 unit in the machine's byte order.
_CODEC = "utf-16-le" if sys.byteorder == "little" else "utf-16-be"
_UNIT = ctypes.sizeof(c_uint16)

# Record address -> live host object; the callbacks find their object through `me`. Weak, so
# that the table never keeps an object alive: whoever passes one to the library holds it.
_live: weakref.WeakValueDictionary[int, Union[HostString, HostStringArray]] = weakref.WeakValueDictionary()


# get(me, out data, out length) serves both tables: a string yields its units, an array its elements.
_Get = ctypes.CFUNCTYPE(c_uint32, c_void_p, POINTER(c_void_p), POINTER(c_uint32))
_Set = ctypes.CFUNCTYPE(c_uint32, c_void_p, c_void_p, c_uint32)


class _StringTable(ctypes.Structure):
    _fields_ = [("get", _Get), ("set", _Set)]


class _StringArrayTable(ctypes.Structure):
    _fields_ = [("get", _Get)]


def _string_get(me: int, data: Any, length: Any) -> int:
    text = cast(HostString, _live[me])
    data[0] = ctypes.addressof(text._units)
    length[0] = text._length
    return LUMO_OK


def _string_set(me: int, data: int, length: int) -> int:
    cast(HostString, _live[me]).text = ctypes.string_at(data, length * _UNIT).decode(_CODEC, "surrogatepass") if length else ""
    return LUMO_OK


def _array_get(me: int, elements: Any, count: Any) -> int:
    array = cast(HostStringArray, _live[me])
    elements[0] = ctypes.addressof(array._pointers)
    count[0] = len(array.strings)
    return LUMO_OK


# Module globals: the tables and their callbacks live as long as the process may call them.
_STRING_TABLE = _StringTable(_Get(_string_get), _Set(_string_set))
_STRING_ARRAY_TABLE = _StringArrayTable(_Get(_array_get))


class HostString:
    """An ILumoString holding a Python str; the library reads it up to its first zero unit."""

    def __init__(self, text: str = "") -> None:
        self._record = Record(None, ctypes.addressof(_STRING_TABLE))
        self._address = ctypes.addressof(self._record)
        self._record.me = self._address
        _live[self._address] = self
        self.text = text

    @property
    def address(self) -> int:
        """The address of the record, the ILumoString* handed to the library."""
        return self._address

    @property
    def text(self) -> str:
        return self._text

    @text.setter
    def text(self, value: str) -> None:
        encoded = value.encode(_CODEC, "surrogatepass")
        self._length = len(encoded) // _UNIT
        # One more unit for the terminating zero; the buffer lives until the next assignment.
        self._units = (c_uint16 * (self._length + 1)).from_buffer_copy(encoded + bytes(_UNIT))
        self._text = value


class HostStringArray:
    """An ILumoStringArray of HostString elements (the list of file names)."""

    def __init__(self, texts: list[str]) -> None:
        self.strings = [HostString(text) for text in texts]
        self._pointers = (c_void_p * len(self.strings))(*[string.address for string in self.strings])
        self._record = Record(None, ctypes.addressof(_STRING_ARRAY_TABLE))
        self._address = ctypes.addressof(self._record)
        self._record.me = self._address
        _live[self._address] = self

    @property
    def address(self) -> int:
        """The address of the record, the ILumoStringArray* handed to the library."""
        return self._address
