# Finding and loading the shared library, and the parse call itself.
from __future__ import annotations

import ctypes
import ctypes.util
import os
import sys
import sysconfig
from pathlib import Path
from typing import Optional, Sequence, Union

from . import _abi
from ._host import HostStringArray
from .errors import IdlError, LibraryNotFoundError
from .model import Result

ENVIRONMENT_VARIABLE = "LUMOIDL_LIBRARY"
LIBRARY_FILE = "lumoidl.dll" if sys.platform == "win32" else "liblumoidl.so"

FileName = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]


def _install_folders() -> list[Path]:
    """Where a library installed beside this package lies: the library folders of the prefix the
    package is installed under (PREFIX/lib/pythonX.Y/site-packages/lumoidl) and of sys.prefix."""
    package = Path(__file__).resolve().parent
    prefixes = dict.fromkeys([package.parents[3]] if len(package.parents) > 3 else [])
    prefixes[Path(sys.prefix)] = None
    multiarch = sysconfig.get_config_var("MULTIARCH")
    subfolders = ["bin"] if sys.platform == "win32" else ["lib", "lib64"] + ([f"lib/{multiarch}"] if multiarch else [])
    return [prefix / subfolder for prefix in prefixes for subfolder in subfolders]


def default_path() -> str:
    """The library to load: $LUMOIDL_LIBRARY when set; else the first library file beside this
    package or in the library folders of its install prefix; else what the system's library search
    (ctypes.util.find_library) finds. Raises LibraryNotFoundError, naming every place, otherwise."""
    explicit = os.environ.get(ENVIRONMENT_VARIABLE)
    if explicit:
        return explicit
    folders = [Path(__file__).resolve().parent] + _install_folders()
    for folder in folders:
        if (folder / LIBRARY_FILE).is_file():
            return str(folder / LIBRARY_FILE)
    found = ctypes.util.find_library("lumoidl")
    if found:
        return found
    raise LibraryNotFoundError([f"${ENVIRONMENT_VARIABLE} (not set)"] + [str(folder / LIBRARY_FILE) for folder in folders]
                               + ["the system's library path (ctypes.util.find_library)"])


class Binding:
    """One loaded copy of the library; parse() runs LumoIDLParse in it."""

    def __init__(self, path: Union[str, "os.PathLike[str]"]) -> None:
        self.path = os.fspath(path)
        self._dll = ctypes.CDLL(self.path)
        self._parse = self._dll.LumoIDLParse
        self._parse.argtypes = [ctypes.c_void_p]
        self._parse.restype = ctypes.c_void_p

    def parse(self, files: Union[FileName, Sequence[FileName]]) -> Result:
        """Parses the IDL files in order; returns a Result or raises IdlError with the library's text."""
        names = [files] if isinstance(files, (str, bytes, os.PathLike)) else files
        array = HostStringArray([os.fsdecode(name) for name in names])
        result = Result(_abi.Handle(self._parse(array.address), _abi.ResultTable))
        message = result._error_message()
        if message:
            # Give the reference back now rather than whenever the traceback lets go of it.
            result._finalizer()
            raise IdlError(message)
        return result


_current: Optional[Binding] = None


def load(path: Union[str, "os.PathLike[str]", None] = None) -> Binding:
    """Loads the library from `path` (default: see default_path) and uses it for parse()."""
    global _current
    _current = Binding(default_path() if path is None else path)
    return _current


def parse(files: Union[FileName, Sequence[FileName]]) -> Result:
    """Parses with the library given to load(), loading the default one on first use."""
    return (_current or load()).parse(files)
