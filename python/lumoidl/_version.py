# The package's version: the project's, read from CMakeLists.txt in a source tree, else from the
# metadata that pip installed.
from __future__ import annotations

import importlib.metadata
import re
from pathlib import Path

# Where CMakeLists.txt lies when the package is used from, or built in, the source tree.
SOURCE_TREE_LISTS = Path(__file__).resolve().parents[2] / "CMakeLists.txt"


def cmake_version(lists: Path) -> str:
    """The version that `project(lumoidl VERSION x.y.z)` gives in the CMakeLists.txt `lists`."""
    match = re.search(r"project\(lumoidl\s+VERSION\s+([0-9.]+)", lists.read_text(encoding="utf-8"))
    if match is None:
        raise ValueError(f"{lists} has no project(lumoidl VERSION ...)")
    return match.group(1)


def package_version() -> str:
    """The source tree's version, else the installed one; "0+unknown" for a copy that is neither."""
    if SOURCE_TREE_LISTS.is_file():
        return cmake_version(SOURCE_TREE_LISTS)
    try:
        return importlib.metadata.version("lumoidl")
    except importlib.metadata.PackageNotFoundError:
        return "0+unknown"
