# The library's boundary in ctypes: interface records, operation tables, result codes, uuids.
from __future__ import annotations

import ctypes
import uuid
from ctypes import POINTER, c_int32, c_uint8, c_uint32, c_void_p
from typing import Any

# The one result code the binding tests for: anything else means "not there" (107).
LUMO_OK = 0


class Record(ctypes.Structure):
    """Any interface record: the implementing object, then its table of operations."""

    _fields_ = [("me", c_void_p), ("vTbl", c_void_p)]


class LumoUUID(ctypes.Structure):
    """16 uuid bytes in the order in which the text form writes them."""

    _fields_ = [("bytes", c_uint8 * 16)]


def _op(restype: Any, *argtypes: Any) -> Any:
    """The prototype of one operation; every operation takes the object pointer first."""
    return ctypes.CFUNCTYPE(restype, c_void_p, *argtypes)


# Arguments are passed as plain addresses (c_void_p): host strings, out-pointers and uuids alike.
_Void = _op(None)
_Count = _op(c_int32)
_ItemAt = _op(c_uint32, c_int32, POINTER(c_void_p))
_ItemByName = _op(c_uint32, c_void_p, POINTER(c_void_p))
_ItemByUuid = _op(c_uint32, POINTER(LumoUUID), POINTER(c_void_p))
_Sort = _op(c_uint8)
_TextAt = _op(c_uint32, c_int32, c_void_p)
_TextByName = _op(c_uint32, c_void_p, c_void_p)
_Has = _op(c_int32, c_void_p)
_Text = _op(None, c_void_p)
_Uuid = _op(c_void_p)
_Out = _op(None, POINTER(c_void_p))
_Pointer = _op(c_void_p)
_Kind = _op(c_uint32)
_ValueAt = _op(c_uint32, c_int32, POINTER(c_int32))
_ValueByName = _op(c_uint32, c_void_p, POINTER(c_int32))

_ATTRIBUTES: list[tuple[str, Any]] = [
    ("getAttributeCount", _Count),
    ("getAttributeName", _TextAt),
    ("getAttributeValue", _TextAt),
    ("getAttributeValueByName", _TextByName),
    ("hasAttribute", _Has),
]


def _collection(count: str, at: str, by_name: str, by_uuid: str) -> list[tuple[str, Any]]:
    return [(count, _Count), (at, _ItemAt), (by_name, _ItemByName), (by_uuid, _ItemByUuid)]


_DECLARATIONS = (
    _collection("getCategoryIDCount", "getCategoryID", "getCategoryIDByName", "getCategoryIDByUUID")
    + _collection("getEnumerationCount", "getEnumeration", "getEnumerationByName", "getEnumerationByUUID")
    + _collection("getInterfaceCount", "getInterface", "getInterfaceByName", "getInterfaceByUUID")
)

_OWNED_BY_LIBRARY: list[tuple[str, Any]] = [
    ("getName", _Text),
    ("getUUID", _Uuid),
    ("getLibraryUUID", _Uuid),
    ("getLibraryName", _Text),
]


class ResultTable(ctypes.Structure):
    """Operations of ILumoIDLParseResult."""

    _fields_ = (
        [("addReference", _Void), ("release", _Void)]
        + _DECLARATIONS
        + [
            ("sortInterfaces", _Sort),
            ("getLibraryCount", _Count),
            ("getLibrary", _ItemAt),
            ("getErrorMessage", _op(c_uint32, c_void_p)),
        ]
    )


class LibraryTable(ctypes.Structure):
    """Operations of ILumoIDLLibrary."""

    _fields_ = (
        [("addReference", _Void), ("release", _Void)]
        + _ATTRIBUTES
        + _DECLARATIONS
        + [("sortInterfaces", _Sort), ("getName", _Text), ("getUUID", _Uuid)]
    )


class InterfaceTable(ctypes.Structure):
    """Operations of ILumoIDLInterface."""

    _fields_ = (
        _ATTRIBUTES
        + _OWNED_BY_LIBRARY
        + [
            ("getMethodCount", _Count),
            ("getMethod", _ItemAt),
            ("getTemplateParameterCount", _Count),
            ("getTemplateParameterName", _TextAt),
        ]
    )


class MethodTable(ctypes.Structure):
    """Operations of ILumoIDLMethod."""

    _fields_ = _ATTRIBUTES + [
        ("getName", _Text),
        ("getReturnType", _Out),
        ("getArgumentCount", _Count),
        ("getArgument", _ItemAt),
    ]


class ArgumentTable(ctypes.Structure):
    """Operations of ILumoIDLMethodArgument."""

    _fields_ = _ATTRIBUTES + [("getType", _Pointer), ("getName", _Text)]


class EnumerationTable(ctypes.Structure):
    """Operations of ILumoIDLEnumeration."""

    _fields_ = (
        _ATTRIBUTES
        + _OWNED_BY_LIBRARY
        + [
            ("getItemCount", _Count),
            ("getItemName", _TextAt),
            ("getItemValue", _ValueAt),
            ("getItemValueByName", _ValueByName),
            ("hasItem", _Has),
        ]
    )


class CategoryIDTable(ctypes.Structure):
    """Operations of ILumoIDLCategoryID."""

    _fields_ = _ATTRIBUTES + _OWNED_BY_LIBRARY


class TypeTable(ctypes.Structure):
    """Operations of ILumoIDLType."""

    _fields_ = [
        ("getUUID", _Uuid),
        ("getName", _Text),
        ("getKind", _Kind),
        ("getTemplateParameterIndex", _op(c_int32)),
        ("getTemplateArgumentCount", _Count),
        ("getTemplateArgument", _ItemAt),
    ]


class Handle:
    """One interface record of the library, seen through its table: `call("getName", ...)`."""

    __slots__ = ("address", "me", "table")

    def __init__(self, address: int, table_type: type[ctypes.Structure]) -> None:
        record = Record.from_address(address)
        self.address = address
        self.me = record.me
        self.table = table_type.from_address(record.vTbl)

    def call(self, operation: str, *args: Any) -> Any:
        return getattr(self.table, operation)(self.me, *args)


def uuid_bytes(address: int) -> bytes:
    """The 16 bytes at `address`, as the library's uuid getters point to them."""
    return ctypes.string_at(address, 16)


def to_lumo_uuid(value: uuid.UUID) -> LumoUUID:
    """A LumoUUID holding the bytes of a uuid.UUID in text order."""
    result = LumoUUID()
    ctypes.memmove(result.bytes, value.bytes, 16)
    return result
