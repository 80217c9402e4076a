# Look-ups by qualified name and by uuid, on the result and on one library.
import unittest
import uuid

from . import support

ISHAPE = uuid.UUID("A558B034-5CC2-447B-8001-25F37BD95C13")
COLOR = uuid.UUID("81D7ED04-1884-46E3-B817-E8C7BCDE0392")
RENDERERS = uuid.UUID("693A18EB-8097-4478-AA0C-817AAAED5DE9")


class LookupTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.result = support.parse_examples()

    @classmethod
    def tearDownClass(cls):
        del cls.result

    def test_found_by_qualified_name(self):
        self.assertEqual(self.result.interface("Geometry::IShape").uuid, ISHAPE)
        self.assertEqual(self.result.enumeration("Geometry::Color").uuid, COLOR)
        self.assertEqual(self.result.category_id("Drawing::Renderers").uuid, RENDERERS)

    def test_found_by_uuid(self):
        self.assertEqual(self.result.interface_by_uuid(ISHAPE).qualified_name, "Geometry::IShape")
        self.assertEqual(self.result.enumeration_by_uuid(COLOR).qualified_name, "Geometry::Color")
        self.assertEqual(self.result.category_id_by_uuid(RENDERERS).qualified_name, "Drawing::Renderers")

    def test_names_that_find_nothing(self):
        for name in ["IShape", "geometry::IShape", "Geometry::ishape", "Drawing::IShape", "Geometry::IShape\0",
                     "", "Geometry::Color"]:
            with self.subTest(name=name):
                self.assertIsNone(self.result.interface(name))
        self.assertIsNone(self.result.enumeration("Geometry::IShape"))
        self.assertIsNone(self.result.category_id("Geometry::Color"))

    def test_uuids_that_find_nothing(self):
        self.assertIsNone(self.result.interface_by_uuid(uuid.UUID(int=0)))
        self.assertIsNone(self.result.interface_by_uuid(COLOR))
        self.assertIsNone(self.result.enumeration_by_uuid(ISHAPE))
        self.assertIsNone(self.result.category_id_by_uuid(COLOR))
        # The error interface has a uuid but is declared nowhere.
        self.assertIsNone(self.result.interface_by_uuid(uuid.UUID("855063FA-5C39-45DA-9B3D-0B3D4B72660C")))

    def test_a_library_finds_only_its_own_declarations(self):
        zemra, geometry, _ = self.result.libraries
        self.assertEqual(geometry.interface("Geometry::IShape").uuid, ISHAPE)
        self.assertEqual(geometry.interface_by_uuid(ISHAPE).name, "IShape")
        self.assertEqual(geometry.enumeration_by_uuid(COLOR).name, "Color")
        self.assertEqual(geometry.category_id("Geometry::ShapeProviders").name, "ShapeProviders")
        self.assertIsNone(zemra.interface("Geometry::IShape"))
        self.assertIsNone(zemra.interface_by_uuid(ISHAPE))
        self.assertIsNone(zemra.enumeration("Geometry::Color"))
        self.assertIsNone(geometry.category_id_by_uuid(RENDERERS))


if __name__ == "__main__":
    unittest.main()
