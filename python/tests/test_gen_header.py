# The example header generator: its output for the examples and for every built-in type compiles.
import os
import shutil
import subprocess
import sys
import unittest

import lumoidl

from . import support

COMPILER = shutil.which("g++")

EVERY_TYPE = """
    [uuid(4C000000-0000-4000-8000-000000000001)] enum { One = 1, Big = 0x7FFFFFFF } Level;
    [uuid(4C000000-0000-4000-8000-000000000002)]
    interface IEverything<TItem, class> {
        LUMORESULT scalars([in] LumoString s, [in] LumoInteger i, [in] LumoBoolean b, [in] LumoReal r,
                           [in] LumoObject o, [in] LumoValue v, [in] LumoUUID u, [in] LumoWindowId w,
                           [in] LumoEnumeration e, [in] Level l, [in] TItem t, [in] class c);
        LUMORESULT arrays([in] LumoArrayString s, [in] LumoArrayInteger i, [in] LumoArrayBoolean b,
                          [in] LumoArrayReal r, [in] LumoArrayValue v, [in] LumoArrayByte y,
                          [in] LumoArrayEnumeration<Level> l);
        LUMORESULT outs([out] LumoString s, [out] LumoValue v, [out] TItem t,
                        [out, retval] IEverything<Level, TItem> me);
        LumoInteger delete([in] LumoInteger new);
        LUMORESULT failure([out, retval] ILumoError error);
    };
"""

CYCLE = """
    [uuid(4C000000-0000-4000-8000-000000000003)] interface IEgg { LUMORESULT hatch([out, retval] IHen hen); };
    [uuid(4C000000-0000-4000-8000-000000000004)] interface IHen { LUMORESULT lay([out, retval] IEgg egg); };
"""


class GeneratorTest(support.FileTestCase):
    def generate(self, files):
        return subprocess.run([sys.executable, support.GENERATOR, "--library", lumoidl.default_path(), *files],
                              capture_output=True, text=True)

    def generate_library(self, body):
        path = self.write("lib.idl", support.library_text("Lib", "4C000000-0000-4000-8000-000000000000", body))
        run = self.generate([path])
        self.assertEqual(run.returncode, 0, run.stderr)
        return run

    def compile(self, header, use=""):
        with open(os.path.join(self.folder, "generated.h"), "w", encoding="utf-8") as out:
            out.write(header)
        source = self.write("use.cpp", f'#include "generated.h"\n#include <type_traits>\n{use}\n')
        run = subprocess.run([COMPILER, "-std=c++17", "-fsyntax-only", "-Wall", "-Wextra", "-Werror", source],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stderr + header)

    def test_examples_give_enumerations_first_then_classes_in_dependency_order(self):
        run = self.generate(support.EXAMPLE_FILES)
        self.assertEqual(run.returncode, 0, run.stderr)
        header = run.stdout
        order = [header.index(f"class {name} {{") for name in
                 ["ICollection", "INamed", "IShape", "IShapeGroup", "ICanvas", "ILayeredCanvas"]]
        self.assertEqual(order, sorted(order))
        self.assertLess(header.index("enum class BlendMode"), order[0])
        self.assertIn("template <typename T>\nclass ICollection {", header)
        self.assertIn("virtual std::uint32_t item(std::int32_t index, T* item) = 0;", header)
        self.assertIn("virtual std::uint32_t fill(const std::vector<::Geometry::Color>& gradient) = 0;", header)
        self.assertIn("shapes(::ZEMRA::ICollection<::Geometry::IShape*>** shapes) = 0;", header)
        self.assertIn("    // [property_get, long_name(ActiveWindow)]\n", header)
        self.assertIn("    Blue = 4,\n", header)

    @unittest.skipUnless(COMPILER, "needs g++")
    def test_the_examples_header_compiles(self):
        self.compile(self.generate(support.EXAMPLE_FILES).stdout, """
static_assert(std::is_abstract_v<Geometry::IShape>);
static_assert(std::is_abstract_v<Drawing::ILayeredCanvas<Geometry::IShape*>>);
static_assert(static_cast<int>(Geometry::Color::Blue) == 4);
""")

    @unittest.skipUnless(COMPILER, "needs g++")
    def test_every_built_in_type_and_keyword_names_compile(self):
        header = self.generate_library(EVERY_TYPE).stdout
        self.assertIn("virtual std::int32_t delete_(std::int32_t new_) = 0;", header)
        self.assertIn("template <typename TItem, typename class_>", header)
        self.compile(header, "static_assert(std::is_abstract_v<Lib::IEverything<int, double>>);")

    @unittest.skipUnless(COMPILER, "needs g++")
    def test_a_cycle_is_declared_ahead_and_still_compiles(self):
        run = self.generate_library(CYCLE)
        self.assertIn("cycle", run.stderr)
        self.assertIn("class IEgg;\nclass IHen;", run.stdout)
        self.compile(run.stdout)

    def test_a_failed_parse_prints_the_message_and_exits_with_1(self):
        path = os.path.join(self.folder, "absent.idl")
        run = self.generate([path])
        self.assertEqual(run.returncode, 1)
        self.assertEqual(run.stdout, "")
        self.assertEqual(run.stderr, f'Failed to open "{path}" for reading: No such file or directory\n')


if __name__ == "__main__":
    unittest.main()
