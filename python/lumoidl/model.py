# Python objects over the parse result, its libraries and their declarations.
from __future__ import annotations

import collections
import ctypes
import enum
import weakref
from uuid import UUID
from ctypes import byref, c_int32, c_void_p
from functools import cached_property
from typing import Any, Callable, ClassVar, Optional, TypeVar

from . import _abi
from ._abi import LUMO_OK, Handle
from ._host import HostString
from .errors import CycleError, IdlError

# Counted references given back, by kind ("result", "library"): every reference the binding
# takes is returned exactly once, and this is where tests and leak hunts can see it.
released: collections.Counter[str] = collections.Counter()


class TypeKind(enum.IntEnum):
    """Kind of a resolved type, as the library numbers it."""

    LUMORESULT = 1
    STRING = 2
    INTEGER = 3
    BOOLEAN = 4
    REAL = 5
    OBJECT = 6
    ARRAY_STRING = 7
    VALUE = 8
    ARRAY_INTEGER = 9
    ARRAY_BOOLEAN = 10
    ARRAY_REAL = 11
    ARRAY_ENUMERATION = 12
    ENUMERATION = 13
    ARRAY_VALUE = 14
    ARRAY_BYTE = 15
    UUID = 16
    WINDOW_ID = 17
    TEMPLATE_PARAMETER = 18


def _give_back(kind: str, release: Callable[[int], None], me: int) -> None:
    release(me)
    released[kind] += 1


def _check(code: int, operation: str) -> None:
    """Index access inside the reported count must succeed; anything else is a broken library."""
    if code != LUMO_OK:
        raise IdlError(f"{operation} failed with code {code}")


def _text(handle: Handle, operation: str) -> str:
    """The text written by a getter that reports no code (getName, getLibraryName)."""
    receiver = HostString()
    handle.call(operation, receiver.address)
    return receiver.text


def _text_at(handle: Handle, operation: str, index: int) -> str:
    receiver = HostString()
    _check(handle.call(operation, index, receiver.address), operation)
    return receiver.text


def _uuid(handle: Handle, operation: str) -> UUID:
    return UUID(bytes=_abi.uuid_bytes(handle.call(operation)))


def _attributes(handle: Handle) -> dict[str, Optional[str]]:
    """Attribute name -> value text, or None for an attribute written without a value."""
    attributes: dict[str, Optional[str]] = {}
    for index in range(handle.call("getAttributeCount")):
        name = _text_at(handle, "getAttributeName", index)
        key, receiver = HostString(name), HostString()
        # By index a flag and an empty value both read as ""; by name a flag answers "no value".
        code = handle.call("getAttributeValueByName", key.address, receiver.address)
        attributes[name] = receiver.text if code == LUMO_OK else None
    return attributes


def _out_item(handle: Handle, operation: str, *args: Any) -> Optional[int]:
    """Calls a lookup that writes one item pointer; returns the pointer, or None on 107."""
    out = c_void_p()
    code = handle.call(operation, *args, byref(out))
    return out.value if code == LUMO_OK else None


def _address_at(handle: Handle, operation: str, index: int) -> int:
    """The item pointer at `index`, which must lie inside the reported count."""
    out = c_void_p()
    _check(handle.call(operation, index, byref(out)), operation)
    if out.value is None:
        raise IdlError(f"{operation} gave no item at {index}")
    return out.value


_ItemT = TypeVar("_ItemT", bound="_Item")
_DeclarationT = TypeVar("_DeclarationT", bound="_Declaration")


class _Owner:
    """Holds one counted reference; every item it hands out keeps it, and so the reference, alive."""

    def __init__(self, handle: Handle, kind: str) -> None:
        self._handle = handle
        # Weak, so that items refer to their owner and never the other way round: no cycles,
        # and the reference goes back as soon as the last object that needs it is gone.
        self._items: weakref.WeakValueDictionary[tuple[type[_Item], int], _Item] = weakref.WeakValueDictionary()
        self._finalizer = weakref.finalize(self, _give_back, kind, handle.table.release, handle.me)

    def _item(self, cls: type[_ItemT], address: int) -> _ItemT:
        item = self._items.get((cls, address))
        if isinstance(item, cls):
            return item
        created = cls(self, address)
        self._items[(cls, address)] = created
        return created

    def _all(self, cls: type[_DeclarationT]) -> list[_DeclarationT]:
        count = self._handle.call(f"get{cls._collection}Count")
        addresses = [_address_at(self._handle, f"get{cls._collection}", index) for index in range(count)]
        return [self._item(cls, address) for address in addresses]

    def _by_name(self, cls: type[_DeclarationT], name: str) -> Optional[_DeclarationT]:
        # The library reads a name up to its first zero; no declared name holds one.
        if "\0" in name:
            return None
        key = HostString(name)
        address = _out_item(self._handle, f"get{cls._collection}ByName", key.address)
        return None if address is None else self._item(cls, address)

    def _by_uuid(self, cls: type[_DeclarationT], value: UUID) -> Optional[_DeclarationT]:
        address = _out_item(self._handle, f"get{cls._collection}ByUUID", byref(_abi.to_lumo_uuid(value)))
        return None if address is None else self._item(cls, address)

    @property
    def interfaces(self) -> list[Interface]:
        """All interfaces in the current order (declaration order until sorted)."""
        return self._all(Interface)

    @property
    def enumerations(self) -> list[Enumeration]:
        return self._all(Enumeration)

    @property
    def category_ids(self) -> list[CategoryID]:
        return self._all(CategoryID)

    def interface(self, qualified_name: str) -> Optional[Interface]:
        """The interface named "Library::Name", or None."""
        return self._by_name(Interface, qualified_name)

    def interface_by_uuid(self, value: UUID) -> Optional[Interface]:
        return self._by_uuid(Interface, value)

    def enumeration(self, qualified_name: str) -> Optional[Enumeration]:
        return self._by_name(Enumeration, qualified_name)

    def enumeration_by_uuid(self, value: UUID) -> Optional[Enumeration]:
        return self._by_uuid(Enumeration, value)

    def category_id(self, qualified_name: str) -> Optional[CategoryID]:
        return self._by_name(CategoryID, qualified_name)

    def category_id_by_uuid(self, value: UUID) -> Optional[CategoryID]:
        return self._by_uuid(CategoryID, value)

    def sorted_interfaces(self) -> list[Interface]:
        """Orders the interfaces so that each follows those its methods use; returns them.

        Raises CycleError, and leaves the order unchanged, when references form a cycle.
        """
        if not self._handle.call("sortInterfaces"):
            raise CycleError("The interfaces refer to each other in a cycle; their order is unchanged")
        return self.interfaces


class Result(_Owner):
    """A successful parse: the libraries in input order and all their declarations."""

    def __init__(self, handle: Handle) -> None:
        super().__init__(handle, "result")

    @cached_property
    def libraries(self) -> list[Library]:
        libraries = []
        for index in range(self._handle.call("getLibraryCount")):
            # getLibrary adds a reference, which the Library object gives back.
            address = _address_at(self._handle, "getLibrary", index)
            libraries.append(Library(Handle(address, _abi.LibraryTable)))
        return libraries

    def _error_message(self) -> str:
        receiver = HostString()
        self._handle.call("getErrorMessage", receiver.address)
        return receiver.text

    def __repr__(self) -> str:
        return f"<lumoidl.Result of {self._handle.call('getLibraryCount')} libraries>"


class Library(_Owner):
    """One library (one source file), alive on its own reference."""

    def __init__(self, handle: Handle) -> None:
        super().__init__(handle, "library")

    @cached_property
    def name(self) -> str:
        return _text(self._handle, "getName")

    @cached_property
    def uuid(self) -> UUID:
        return _uuid(self._handle, "getUUID")

    @cached_property
    def attributes(self) -> dict[str, Optional[str]]:
        return _attributes(self._handle)

    def __repr__(self) -> str:
        return f"<lumoidl.Library {self.name}>"


class _Item:
    """A borrowed declaration pointer; `_owner` keeps the reference the pointer depends on."""

    _table: ClassVar[type[ctypes.Structure]]

    def __init__(self, owner: _Owner, address: int) -> None:
        self._owner = owner
        self._handle = Handle(address, self._table)

    def __eq__(self, other: object) -> bool:
        # A living item keeps its library alive, so an equal address is the same declaration.
        return isinstance(other, _Item) and type(self) is type(other) and self._handle.address == other._handle.address

    def __hash__(self) -> int:
        return hash(self._handle.address)

    @cached_property
    def name(self) -> str:
        return _text(self._handle, "getName")

    def __repr__(self) -> str:
        return f"<lumoidl.{type(self).__name__} {self.name}>"


class _Attributed(_Item):
    @cached_property
    def attributes(self) -> dict[str, Optional[str]]:
        """Attribute name -> value text, or None for an attribute written without a value."""
        return _attributes(self._handle)


class _Declaration(_Attributed):
    """An interface, enumeration or category ID: declared in a library, named and with a uuid."""

    _collection: ClassVar[str]

    @cached_property
    def uuid(self) -> UUID:
        return _uuid(self._handle, "getUUID")

    @cached_property
    def library_name(self) -> str:
        return _text(self._handle, "getLibraryName")

    @cached_property
    def library_uuid(self) -> UUID:
        return _uuid(self._handle, "getLibraryUUID")

    @cached_property
    def qualified_name(self) -> str:
        return f"{self.library_name}::{self.name}"

    def __repr__(self) -> str:
        return f"<lumoidl.{type(self).__name__} {self.qualified_name}>"


class Type(_Item):
    """A resolved type reference of a method signature."""

    _table = _abi.TypeTable

    @cached_property
    def kind(self) -> TypeKind:
        return TypeKind(self._handle.call("getKind"))

    @cached_property
    def template_parameter_index(self) -> Optional[int]:
        """Index of the interface's template parameter this type names; None unless kind 18."""
        if self.kind != TypeKind.TEMPLATE_PARAMETER:
            return None
        return int(self._handle.call("getTemplateParameterIndex"))

    @cached_property
    def uuid(self) -> Optional[UUID]:
        """The uuid of the interface or enumeration referred to; None for other types."""
        value = _abi.uuid_bytes(self._handle.call("getUUID"))
        return UUID(bytes=value) if any(value) else None

    @cached_property
    def template_arguments(self) -> list[Type]:
        count = self._handle.call("getTemplateArgumentCount")
        addresses = [_address_at(self._handle, "getTemplateArgument", index) for index in range(count)]
        return [self._owner._item(Type, address) for address in addresses]


class Argument(_Attributed):
    """One argument of a method."""

    _table = _abi.ArgumentTable

    @cached_property
    def type(self) -> Type:
        return self._owner._item(Type, self._handle.call("getType"))


class Method(_Attributed):
    """One method of an interface."""

    _table = _abi.MethodTable

    @cached_property
    def return_type(self) -> Type:
        out = c_void_p()
        self._handle.call("getReturnType", byref(out))
        if out.value is None:
            raise IdlError("getReturnType gave no type")
        return self._owner._item(Type, out.value)

    @cached_property
    def arguments(self) -> list[Argument]:
        count = self._handle.call("getArgumentCount")
        return [self._owner._item(Argument, _address_at(self._handle, "getArgument", index)) for index in range(count)]


class Interface(_Declaration):
    """One interface declaration, possibly a template."""

    _table = _abi.InterfaceTable
    _collection = "Interface"

    @cached_property
    def template_parameters(self) -> list[str]:
        count = self._handle.call("getTemplateParameterCount")
        return [_text_at(self._handle, "getTemplateParameterName", index) for index in range(count)]

    @cached_property
    def methods(self) -> list[Method]:
        count = self._handle.call("getMethodCount")
        return [self._owner._item(Method, _address_at(self._handle, "getMethod", index)) for index in range(count)]


class Enumeration(_Declaration):
    """One enumeration declaration with its items."""

    _table = _abi.EnumerationTable
    _collection = "Enumeration"

    @cached_property
    def items(self) -> list[tuple[str, int]]:
        """(name, value) pairs in declaration order."""
        items = []
        for index in range(self._handle.call("getItemCount")):
            value = c_int32()
            _check(self._handle.call("getItemValue", index, byref(value)), "getItemValue")
            items.append((_text_at(self._handle, "getItemName", index), value.value))
        return items

    def value_of(self, name: str) -> int:
        """The value of the item `name` (exact, without prefix); KeyError when there is none."""
        value = c_int32()
        key = HostString(name)
        if "\0" in name or self._handle.call("getItemValueByName", key.address, byref(value)) != LUMO_OK:
            raise KeyError(name)
        return value.value


class CategoryID(_Declaration):
    """One category ID declaration."""

    _table = _abi.CategoryIDTable
    _collection = "CategoryID"
