# The exceptions of the binding: a failed parse, a cyclic interface order, a library not found.
from __future__ import annotations

import re
from typing import Optional

# The forms in which the library's messages name a place: a parse error (file, line and column),
# a file that cannot be read, and a rule broken in a file (named at the end, before any remark).
_PLACES = (
    re.compile(r'^Parse error in "(?P<file>.*)": line (?P<line>\d+), pos (?P<column>\d+): '),
    re.compile(r'^Failed to open "(?P<file>.*)" for reading: '),
    re.compile(r' in "(?P<file>[^"]*)"(?: \([^"]*\))?$'),
)


class IdlError(Exception):
    """The library reported a failure; `message` is its text exactly as it wrote it.

    `file`, `line` and `column` (both from 1) are the place the message names, or None when it
    names none.
    """

    def __init__(self, message: str) -> None:
        super().__init__(message)
        self.message = message
        self.file: Optional[str] = None
        self.line: Optional[int] = None
        self.column: Optional[int] = None
        for pattern in _PLACES:
            match = pattern.search(message)
            if match:
                place = match.groupdict()
                self.file = place["file"]
                if "line" in place:
                    self.line, self.column = int(place["line"]), int(place["column"])
                break


class CycleError(IdlError):
    """sortInterfaces found interfaces that refer to each other; the order was left as it was."""


class LibraryNotFoundError(OSError):
    """No lumoidl library was found; `places` are where the search looked, in order."""

    def __init__(self, places: list[str]) -> None:
        self.places = places
        super().__init__("the lumoidl library was not found; looked for it in:\n"
                         + "".join(f"  {place}\n" for place in places)
                         + "set LUMOIDL_LIBRARY to its path, or install it where one of these finds it")
