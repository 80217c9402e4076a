# Finding and loading the shared library, and the parse call itself.
import ctypes
import os
import sys

from . import _abi
from ._host import HostStringArray
from .errors import IdlError
from .model import Result

ENVIRONMENT_VARIABLE = "LUMOIDL_LIBRARY"
LIBRARY_FILE = "lumoidl.dll" if sys.platform == "win32" else "liblumoidl.so"


def default_path():
    """$LUMOIDL_LIBRARY when set, else the library file next to this package."""
    return os.environ.get(ENVIRONMENT_VARIABLE) or os.path.join(os.path.dirname(__file__), LIBRARY_FILE)


class Binding:
    """One loaded copy of the library; parse() runs LumoIDLParse in it."""

    def __init__(self, path):
        self.path = os.fspath(path)
        self._dll = ctypes.CDLL(self.path)
        self._parse = self._dll.LumoIDLParse
        self._parse.argtypes = [ctypes.c_void_p]
        self._parse.restype = ctypes.c_void_p

    def parse(self, files):
        """Parses the IDL files in order; returns a Result or raises IdlError with the library's text."""
        if isinstance(files, (str, bytes, os.PathLike)):
            files = [files]
        names = HostStringArray([os.fsdecode(name) for name in files])
        result = Result(_abi.Handle(self._parse(names.address), _abi.ResultTable))
        message = result._error_message()
        if message:
            # Give the reference back now rather than whenever the traceback lets go of it.
            result._finalizer()
            raise IdlError(message)
        return result


_current = None


def load(path=None):
    """Loads the library from `path` (default: see default_path) and uses it for parse()."""
    global _current
    _current = Binding(default_path() if path is None else path)
    return _current


def parse(files):
    """Parses with the library given to load(), loading the default one on first use."""
    return (_current or load()).parse(files)
