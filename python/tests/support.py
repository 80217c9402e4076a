# Shared helpers of the binding's tests: the example files and IDL files written on the fly.
import os
import shutil
import tempfile
import unittest

import lumoidl

PYTHON_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPOSITORY = os.path.dirname(PYTHON_DIR)
EXAMPLES = os.environ.get("LUMOIDL_EXAMPLES") or os.path.join(REPOSITORY, "examples")
EXAMPLE_FILES = [os.path.join(EXAMPLES, name) for name in ("1-core.idl", "2-geometry.idl", "3-drawing.idl")]
HEADER = os.path.join(REPOSITORY, "include", "lumoidl", "lumoidl.h")
GENERATOR = os.path.join(PYTHON_DIR, "examples", "gen_header.py")


def parse_examples():
    return lumoidl.parse(EXAMPLE_FILES)


def library_text(name, uuid_text, body):
    """A whole source file: one library with the given body."""
    return f"[uuid({uuid_text}), version(1.0), idlversion(1)]\nlibrary {name} {{\n{body}\n}};\n"


class FileTestCase(unittest.TestCase):
    """A test with a scratch folder for IDL files of its own."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="lumoidl-py-")
        self.addCleanup(shutil.rmtree, self.folder)

    def write(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w", encoding="utf-8", newline="\n") as out:
            out.write(text)
        return path
