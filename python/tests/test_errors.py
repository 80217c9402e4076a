# Failed parses raise IdlError carrying the library's message exactly.
import os
import unittest

import lumoidl
from lumoidl import model

from . import support

LIBRARY_UUID = "0C2D4E6F-8A9B-4C1D-8E2F-3A4B5C6D7E8F"


class ErrorMessageTest(support.FileTestCase):
    def assertParseFails(self, files, message):
        with self.assertRaises(lumoidl.IdlError) as caught:
            lumoidl.parse(files)
        self.assertEqual(caught.exception.message, message)
        self.assertEqual(str(caught.exception), message)

    def test_a_missing_file(self):
        path = os.path.join(self.folder, "absent.idl")
        self.assertParseFails([path], f'Failed to open "{path}" for reading: No such file or directory')

    def test_a_missing_file_after_a_good_one_is_named(self):
        path = os.path.join(self.folder, "absent.idl")
        self.assertParseFails([support.EXAMPLE_FILES[0], path],
                              f'Failed to open "{path}" for reading: No such file or directory')

    def test_a_file_name_outside_the_basic_plane_comes_back_unchanged(self):
        # Two units per character on the way in and on the way out.
        path = os.path.join(self.folder, "ĉu-😀-𝄞.idl")
        self.assertParseFails([path], f'Failed to open "{path}" for reading: No such file or directory')

    def test_syntax_errors_name_file_line_and_position(self):
        header = f"[uuid({LIBRARY_UUID})]\nlibrary L {{\n"
        cases = [
            ("garbage.idl", "garbage", 1, 7),
            ("unnamed_enum.idl", header + "  enum { A = 1 } ;\n};\n", 3, 18),
            ("truncated.idl", header + "    interface I { };\n", 4, 0),
        ]
        for name, text, line, pos in cases:
            with self.subTest(name=name):
                path = self.write(name, text)
                self.assertParseFails([path], f'Parse error in "{path}": line {line}, pos {pos}: syntax error')

    def test_rule_failures(self):
        cases = [
            ("[uuid(1A2B3C4D-5E6F-4A1B-9C2D-3E4F5A6B7C8D)] interface I { LUMORESULT m([in] Nope x); };",
             'Error with type of argument "x" of method "m" of interface "I": unresolved type "Nope"'),
            ("interface I { };", 'Interface "I" must have a uuid attribute'),
        ]
        for body, message in cases:
            with self.subTest(message=message):
                path = self.write("rule.idl", support.library_text("L", LIBRARY_UUID, body))
                self.assertParseFails([path], message)

    def test_the_result_of_a_failed_parse_is_released_at_once(self):
        before = model.released["result"]
        try:
            lumoidl.parse([os.path.join(self.folder, "absent.idl")])
        except lumoidl.IdlError:
            # The traceback still holds the frame that made the result: it must be released anyway.
            self.assertEqual(model.released["result"], before + 1)
        else:
            self.fail("the parse did not fail")

    def test_cycle_error_is_an_idl_error(self):
        self.assertTrue(issubclass(lumoidl.CycleError, lumoidl.IdlError))
        self.assertTrue(issubclass(lumoidl.IdlError, Exception))


if __name__ == "__main__":
    unittest.main()
