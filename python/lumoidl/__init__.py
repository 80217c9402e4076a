# lumoidl: parse IDL files with the lumoidl shared library and walk the declarations in Python.
"""Parse IDL files through liblumoidl.so / lumoidl.dll and read the declarations.

    import lumoidl
    lumoidl.load("build/liblumoidl.so")      # else found as default_path() tells
    result = lumoidl.parse(["1-core.idl", "2-geometry.idl"])   # IdlError on failure
    for interface in result.sorted_interfaces():                # CycleError on a cycle
        print(interface.qualified_name, [method.name for method in interface.methods])

Every object keeps alive the library reference its data depends on; drop them in any order.
"""
from ._binding import ENVIRONMENT_VARIABLE, Binding, default_path, load, parse
from ._version import package_version
from .errors import CycleError, IdlError, LibraryNotFoundError
from .model import (
    Argument,
    CategoryID,
    Enumeration,
    Interface,
    Library,
    Method,
    Result,
    Type,
    TypeKind,
)

__version__ = package_version()

__all__ = [
    "ENVIRONMENT_VARIABLE",
    "Argument",
    "Binding",
    "CategoryID",
    "CycleError",
    "Enumeration",
    "IdlError",
    "Interface",
    "Library",
    "LibraryNotFoundError",
    "Method",
    "Result",
    "Type",
    "TypeKind",
    "__version__",
    "default_path",
    "load",
    "parse",
]
