# Where the binding finds the shared library.
import os
import unittest
from unittest import mock

import lumoidl

from . import support


class LoaderTest(unittest.TestCase):
    def test_the_environment_names_the_library(self):
        with mock.patch.dict(os.environ, {lumoidl.ENVIRONMENT_VARIABLE: "/somewhere/liblumoidl.so"}):
            self.assertEqual(lumoidl.default_path(), "/somewhere/liblumoidl.so")

    def test_without_the_environment_the_library_sits_next_to_the_package(self):
        with mock.patch.dict(os.environ):
            os.environ.pop(lumoidl.ENVIRONMENT_VARIABLE, None)
            path = lumoidl.default_path()
        self.assertEqual(os.path.dirname(path), os.path.dirname(lumoidl.__file__))
        self.assertIn(os.path.basename(path), ["liblumoidl.so", "lumoidl.dll"])

    def test_load_by_path_gives_a_binding_that_parses(self):
        binding = lumoidl.load(lumoidl.default_path())
        self.assertEqual(binding.path, lumoidl.default_path())
        result = binding.parse(support.EXAMPLE_FILES)
        self.assertEqual(len(result.libraries), 3)
        # The module's parse now goes through the library just loaded.
        self.assertEqual(len(lumoidl.parse(support.EXAMPLE_FILES).interfaces), 6)

    def test_a_path_without_a_library_fails_to_load(self):
        with self.assertRaises(OSError):
            lumoidl.load(os.path.join(support.PYTHON_DIR, "no-such-library.so"))


if __name__ == "__main__":
    unittest.main()
