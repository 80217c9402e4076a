# The binding itself: loading, the Python model of a walk, IdlError, lifetimes and the header generator.
import gc
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import uuid
from unittest import mock

import lumoidl
from lumoidl import _binding, model

PYTHON_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLES = os.environ.get("LUMOIDL_EXAMPLES") or os.path.join(os.path.dirname(PYTHON_DIR), "examples")
EXAMPLE_FILES = [os.path.join(EXAMPLES, name) for name in ("1-core.idl", "2-geometry.idl", "3-drawing.idl")]
ISHAPE = uuid.UUID("A558B034-5CC2-447B-8001-25F37BD95C13")
COLOR = uuid.UUID("81D7ED04-1884-46E3-B817-E8C7BCDE0392")


def signature(type_):
    """A type with its kind and template arguments: "ZEMRA::ICollection/OBJECT<Geometry::IShape/OBJECT>"."""
    arguments = ", ".join(signature(argument) for argument in type_.template_arguments)
    return f"{type_.name}/{type_.kind.name}" + (f"<{arguments}>" if arguments else "")


class BindingTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="lumoidl-py-")
        self.addCleanup(shutil.rmtree, self.folder)
        gc.collect()
        self.before = model.released.copy()

    def released(self):
        """(results, libraries) whose reference went back since the test started."""
        gc.collect()
        return tuple(model.released[kind] - self.before[kind] for kind in ("result", "library"))

    def write(self, name, body):
        path = os.path.join(self.folder, name)
        with open(path, "w", encoding="utf-8") as out:
            out.write(f"[uuid(0C2D4E6F-8A9B-4C1D-8E2F-3A4B5C6D7E8F)]\nlibrary L {{\n{body}\n}};\n")
        return path

    def test_the_library_is_found_through_the_environment_beside_the_package_the_prefix_or_the_system(self):
        library = lumoidl.default_path()
        package = os.path.join(self.folder, "prefix", "lib", "python3", "site-packages", "lumoidl")
        beside, in_prefix = os.path.join(package, "liblumoidl.so"), os.path.join(self.folder, "prefix", "lib", "liblumoidl.so")
        cases = [  # (environment, files present, what the system's search finds, path chosen)
            ("/somewhere/liblumoidl.so", [beside], "liblumoidl.so.0", "/somewhere/liblumoidl.so"),
            ("", [beside, in_prefix], "liblumoidl.so.0", beside),
            ("", [in_prefix], "liblumoidl.so.0", in_prefix),
            ("", [], "liblumoidl.so.0", "liblumoidl.so.0"),
            ("", [], None, None),
        ]
        for environment, present, system, chosen in cases:
            with self.subTest(present=present, system=system), \
                    mock.patch.dict(os.environ, {lumoidl.ENVIRONMENT_VARIABLE: environment}), \
                    mock.patch.object(_binding, "__file__", os.path.join(package, "_binding.py")), \
                    mock.patch("ctypes.util.find_library", return_value=system):
                for path in present:
                    os.makedirs(os.path.dirname(path), exist_ok=True)
                    os.symlink(library, path)
                if chosen:
                    self.assertEqual(lumoidl.default_path(), chosen)
                else:
                    with self.assertRaises(lumoidl.LibraryNotFoundError) as caught:
                        lumoidl.default_path()
                    self.assertIn(beside, caught.exception.places)
                    self.assertIn(f"  {in_prefix}\n", str(caught.exception))
                for path in present:
                    os.remove(path)
        self.assertEqual(len(lumoidl.load(library).parse(EXAMPLE_FILES[0]).libraries), 1)
        with self.assertRaises(OSError):
            lumoidl.load(os.path.join(self.folder, "no-such-library.so"))

    def test_the_version_is_the_projects(self):
        self.assertEqual(lumoidl.__version__, os.environ["LUMOIDL_VERSION"])  # CMake's PROJECT_VERSION

    def test_a_walk_of_the_examples(self):
        result = lumoidl.parse(EXAMPLE_FILES)
        zemra, geometry, drawing = result.libraries
        self.assertEqual((geometry.name, str(geometry.uuid)), ("Geometry", "7a45c23b-5f96-4245-8d8b-08e2380ea46a"))
        self.assertEqual(geometry.attributes, {"uuid": str(geometry.uuid).upper(), "version": "2.1", "idlversion": "1"})
        self.assertEqual([i.qualified_name for i in result.interfaces], ["ZEMRA::ICollection", "ZEMRA::INamed",
                         "Geometry::IShape", "Geometry::IShapeGroup", "Drawing::ICanvas", "Drawing::ILayeredCanvas"])
        self.assertEqual([e.qualified_name for e in drawing.enumerations], ["Drawing::BlendMode"])
        self.assertEqual([c.name for c in result.category_ids], ["ShapeProviders", "Renderers", "Exporters"])
        collection = zemra.interfaces[0]
        self.assertEqual((collection.library_name, collection.library_uuid, collection.template_parameters),
                         ("ZEMRA", zemra.uuid, ["T"]))
        item = collection.methods[1]
        self.assertEqual([(a.name, a.attributes, signature(a.type), a.type.template_parameter_index) for a in
                          item.arguments], [("index", {"in": None}, "LumoInteger/INTEGER", None),
                                            ("item", {"out": None, "retval": None}, "T/TEMPLATE_PARAMETER", 0)])
        self.assertEqual((item.name, signature(item.return_type)), ("item", "LUMORESULT/LUMORESULT"))
        canvas = result.interface("Drawing::ICanvas")
        self.assertEqual(canvas.methods[4].attributes, {"property_get": None, "long_name": "ActiveWindow"})
        self.assertEqual([signature(m.arguments[0].type) for m in canvas.methods[1:4]], [
            "Geometry::IShapeGroup/OBJECT", "LumoArrayEnumeration/ARRAY_ENUMERATION<Geometry::Color/ENUMERATION>",
            "ZEMRA::ILumoError/OBJECT"])
        self.assertEqual(signature(geometry.interfaces[1].methods[0].arguments[0].type),
                         "ZEMRA::ICollection/OBJECT<Geometry::IShape/OBJECT>")
        self.assertEqual(canvas.methods[1].arguments[0].type.uuid, result.interfaces[3].uuid)
        color = result.enumeration_by_uuid(COLOR)
        self.assertEqual((color.qualified_name, color.items, color.value_of("Blue")),
                         ("Geometry::Color", [("Red", 1), ("Green", 2), ("Blue", 4), ("Transparent", 0)], 4))
        self.assertRaises(KeyError, color.value_of, "red")
        self.assertEqual(str(result.category_id("Drawing::Renderers").uuid), "693a18eb-8097-4478-aa0c-817aaaed5de9")
        self.assertIs(result.interface_by_uuid(ISHAPE), result.interfaces[2])
        self.assertEqual(geometry.interface("Geometry::IShape"), result.interfaces[2])
        self.assertEqual(geometry.enumeration_by_uuid(COLOR), color)
        for missing in (result.interface("Geometry::IShape\0"), result.interface("Geometry::Color"),
                        zemra.interface_by_uuid(ISHAPE), geometry.category_id_by_uuid(COLOR)):
            self.assertIsNone(missing)

    def test_sorting_puts_users_after_what_they_use_and_a_cycle_raises(self):
        result = lumoidl.parse([self.write("sort.idl", """
            [uuid(3A000000-0000-4000-8000-000000000001)] interface X { LUMORESULT all([out, retval] Box<Y> items); };
            [uuid(3A000000-0000-4000-8000-000000000002)] interface Box<T> { };
            [uuid(3A000000-0000-4000-8000-000000000003)] interface Y { };""")])
        self.assertEqual([i.name for i in result.sorted_interfaces()], ["Box", "Y", "X"])
        self.assertEqual([i.name for i in result.interfaces], ["Box", "Y", "X"])
        self.assertEqual([i.name for i in result.libraries[0].interfaces], ["X", "Box", "Y"])
        cycle = lumoidl.parse([self.write("cycle.idl", """
            [uuid(3A000000-0000-4000-8000-000000000001)] interface X { LUMORESULT y([in] Y y); };
            [uuid(3A000000-0000-4000-8000-000000000003)] interface Y { LUMORESULT x([in] X x); };""")])
        with self.assertRaises(lumoidl.CycleError) as caught:
            cycle.libraries[0].sorted_interfaces()
        self.assertIsInstance(caught.exception, lumoidl.IdlError)
        self.assertEqual([i.name for i in cycle.libraries[0].interfaces], ["X", "Y"])

    def test_a_failed_parse_raises_idl_error_with_the_message_and_gives_its_result_back(self):
        path = os.path.join(self.folder, "ĉu-😀-𝄞.idl")  # two UTF-16 units a character on the way in and out
        try:
            lumoidl.parse([EXAMPLE_FILES[0], path])
        except lumoidl.IdlError as error:
            self.assertEqual(self.released(), (1, 0))  # though the traceback still holds the frame
            self.assertEqual(error.message, f'Failed to open "{path}" for reading: No such file or directory')
            self.assertEqual(str(error), error.message)
        else:
            self.fail("no IdlError")
    def test_idl_error_gives_the_place_its_message_names(self):
        cases = [  # (file contents, or None for a missing file; message; (file, line, column))
            ("interface I { };", 'Interface "I" must have a uuid attribute', (None, None, None)),
            ("interface;", 'Parse error in "{path}": line 3, pos 10: syntax error', ("{path}", 3, 10)),
            (None, 'Failed to open "{path}" for reading: No such file or directory', ("{path}", None, None)),
            ("[uuid(3A000000-0000-4000-8000-000000000001)] interface I { LUMORESULT f([in] LumoInteger a, "
             "[in] LumoInteger a); };", 'Method "f" in interface "I" has multiple arguments named "a" in "{path}" '
             "(all argument must differ by name in case-insensitive languages)", ("{path}", None, None)),
        ]
        for body, message, place in cases:
            path = os.path.join(self.folder, "absent.idl") if body is None else self.write("place.idl", body)
            with self.subTest(message=message), self.assertRaises(lumoidl.IdlError) as caught:
                lumoidl.parse([path])
            error = caught.exception
            self.assertEqual(error.message, message.format(path=path))
            self.assertEqual((error.file, error.line, error.column),
                             tuple(part.format(path=path) if isinstance(part, str) else part for part in place))

    def test_items_keep_their_owner_and_every_reference_goes_back_once(self):
        result = lumoidl.parse(EXAMPLE_FILES)
        shapes = result.interface("Geometry::IShapeGroup").methods[0].arguments[0].type
        del result
        self.assertEqual(self.released(), (0, 0))
        self.assertEqual(shapes.template_arguments[0].name, "Geometry::IShape")  # read only now
        del shapes
        self.assertEqual(self.released(), (1, 0))
        result = lumoidl.parse(EXAMPLE_FILES)
        geometry, blend_mode = result.libraries[1], result.libraries[2].enumerations[0]
        del result
        self.assertEqual(self.released(), (2, 1))
        self.assertEqual(geometry.interfaces[0].methods[4].arguments[1].name, "dy")
        self.assertEqual(blend_mode.items[2], ("Screen", 2))
        del geometry, blend_mode
        self.assertEqual(self.released(), (2, 3))

    @unittest.skipUnless(shutil.which("g++"), "needs g++")
    def test_the_generated_header_of_the_examples_compiles(self):
        generator = os.path.join(PYTHON_DIR, "examples", "gen_header.py")
        run = subprocess.run([sys.executable, generator, "--library", lumoidl.default_path(), *EXAMPLE_FILES],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("virtual std::uint32_t fill(const std::vector<::Geometry::Color>& gradient) = 0;", run.stdout)
        for name, text in (("generated.h", run.stdout), ("use.cpp", '#include "generated.h"\n#include <type_traits>\n'
                           "static_assert(std::is_abstract_v<Drawing::ILayeredCanvas<Geometry::IShape*>>);\n")):
            with open(os.path.join(self.folder, name), "w", encoding="utf-8") as out:
                out.write(text)
        compiled = subprocess.run(["g++", "-std=c++17", "-fsyntax-only", "-Wall", "-Wextra", "-Werror",
                                   os.path.join(self.folder, "use.cpp")], capture_output=True, text=True)
        self.assertEqual(compiled.returncode, 0, compiled.stderr)
        failed = subprocess.run([sys.executable, generator, os.path.join(self.folder, "absent.idl")],
                                capture_output=True, text=True)
        self.assertEqual((failed.returncode, failed.stdout), (1, ""))
        self.assertIn("absent.idl\" for reading", failed.stderr)
