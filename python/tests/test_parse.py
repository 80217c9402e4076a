# The example libraries read back field by field through the binding.
import unittest
import uuid

import lumoidl
from lumoidl import TypeKind

from . import support

ZEMRA = uuid.UUID("4A5E2E81-C093-11D4-9F1B-0010A4D198C2")
GEOMETRY = uuid.UUID("7A45C23B-5F96-4245-8D8B-08E2380EA46A")
DRAWING = uuid.UUID("CD3E4F50-E3EB-424D-81C2-7C03726B22D6")
INAMED = uuid.UUID("D63A7D78-781E-4D44-BE19-52451A7BF466")
ICOLLECTION = uuid.UUID("5C646035-9555-48CF-AEE5-F5A5DC15681D")
ISHAPE = uuid.UUID("A558B034-5CC2-447B-8001-25F37BD95C13")
ISHAPEGROUP = uuid.UUID("9F65EDFF-D3F2-4DED-8398-6C1B819525C3")
ICANVAS = uuid.UUID("93A55630-0236-4565-8B82-BCF0697F549F")
COLOR = uuid.UUID("81D7ED04-1884-46E3-B817-E8C7BCDE0392")
BLENDMODE = uuid.UUID("94DF0AEE-F996-49FA-8198-C76838BF7F89")
ILUMOERROR = uuid.UUID("855063FA-5C39-45DA-9B3D-0B3D4B72660C")


def signature(type_):
    """A type as text, template arguments included: "ZEMRA::ICollection<Geometry::IShape>"."""
    arguments = [signature(argument) for argument in type_.template_arguments]
    return type_.name + (f"<{', '.join(arguments)}>" if arguments else "")


class ExampleTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.result = support.parse_examples()

    @classmethod
    def tearDownClass(cls):
        del cls.result

    def test_libraries_come_in_input_order_with_names_uuids_and_attributes(self):
        libraries = self.result.libraries
        self.assertEqual([(library.name, library.uuid) for library in libraries],
                         [("ZEMRA", ZEMRA), ("Geometry", GEOMETRY), ("Drawing", DRAWING)])
        self.assertEqual(libraries[1].attributes,
                         {"uuid": "7A45C23B-5F96-4245-8D8B-08E2380EA46A", "version": "2.1", "idlversion": "1"})

    def test_uuid_bytes_are_in_text_order(self):
        library = self.result.libraries[0]
        self.assertEqual(library.uuid.bytes, bytes.fromhex("4A5E2E81C09311D49F1B0010A4D198C2"))

    def test_flat_lists_go_library_by_library_in_declaration_order(self):
        self.assertEqual([interface.qualified_name for interface in self.result.interfaces],
                         ["ZEMRA::ICollection", "ZEMRA::INamed", "Geometry::IShape", "Geometry::IShapeGroup",
                          "Drawing::ICanvas", "Drawing::ILayeredCanvas"])
        self.assertEqual([enumeration.qualified_name for enumeration in self.result.enumerations],
                         ["ZEMRA::LumoEnumeration", "Geometry::Color", "Drawing::BlendMode"])
        self.assertEqual([category.qualified_name for category in self.result.category_ids],
                         ["Geometry::ShapeProviders", "Drawing::Renderers", "Drawing::Exporters"])

    def test_library_lists_hold_only_their_own_declarations(self):
        geometry = self.result.libraries[1]
        self.assertEqual([interface.name for interface in geometry.interfaces], ["IShape", "IShapeGroup"])
        self.assertEqual([enumeration.name for enumeration in geometry.enumerations], ["Color"])
        self.assertEqual([category.name for category in geometry.category_ids], ["ShapeProviders"])
        self.assertEqual(self.result.libraries[0].category_ids, [])

    def test_interface_fields(self):
        collection = self.result.interfaces[0]
        self.assertEqual(collection.name, "ICollection")
        self.assertEqual(collection.qualified_name, "ZEMRA::ICollection")
        self.assertEqual(collection.uuid, ICOLLECTION)
        self.assertEqual(collection.library_name, "ZEMRA")
        self.assertEqual(collection.library_uuid, ZEMRA)
        self.assertEqual(collection.attributes, {"uuid": "5C646035-9555-48CF-AEE5-F5A5DC15681D"})
        self.assertEqual(collection.template_parameters, ["T"])
        self.assertEqual([method.name for method in collection.methods], ["count", "item"])
        self.assertEqual(self.result.interfaces[1].template_parameters, [])

    def test_overloads_stay_separate_methods_in_declaration_order(self):
        shape = self.result.interfaces[2]
        self.assertEqual([method.name for method in shape.methods], ["owner", "area", "fill", "fill", "move"])
        self.assertEqual([signature(method.arguments[0].type) for method in shape.methods[2:4]],
                         ["Geometry::Color", "LumoArrayEnumeration<Geometry::Color>"])

    def test_method_attributes_keep_flags_and_values_apart(self):
        canvas = self.result.interfaces[4]
        self.assertEqual(canvas.methods[4].name, "window")
        self.assertEqual(canvas.methods[4].attributes, {"property_get": None, "long_name": "ActiveWindow"})
        self.assertEqual(canvas.methods[0].attributes, {})

    def test_arguments_have_names_direction_flags_and_types(self):
        item = self.result.interfaces[0].methods[1]
        self.assertEqual([(argument.name, argument.attributes, argument.type.name) for argument in item.arguments],
                         [("index", {"in": None}, "LumoInteger"), ("item", {"out": None, "retval": None}, "T")])
        self.assertEqual(self.result.interfaces[2].methods[4].arguments[1].name, "dy")

    def test_resolved_types(self):
        # (interface index, method index, argument index or None for the return type,
        #  name, kind, uuid, template parameter index)
        cases = [
            (0, 0, None, "LUMORESULT", TypeKind.LUMORESULT, None, None),
            (0, 0, 0, "LumoInteger", TypeKind.INTEGER, None, None),
            (0, 1, 1, "T", TypeKind.TEMPLATE_PARAMETER, None, 0),
            (1, 0, 0, "LumoString", TypeKind.STRING, None, None),
            (2, 0, 0, "ZEMRA::INamed", TypeKind.OBJECT, INAMED, None),
            (2, 1, 0, "LumoReal", TypeKind.REAL, None, None),
            (2, 2, 0, "Geometry::Color", TypeKind.ENUMERATION, COLOR, None),
            (2, 3, 0, "LumoArrayEnumeration", TypeKind.ARRAY_ENUMERATION, None, None),
            (3, 0, 0, "ZEMRA::ICollection", TypeKind.OBJECT, ICOLLECTION, None),
            (3, 1, 0, "Geometry::IShape", TypeKind.OBJECT, ISHAPE, None),
            (4, 0, 1, "Drawing::BlendMode", TypeKind.ENUMERATION, BLENDMODE, None),
            (4, 1, 0, "Geometry::IShapeGroup", TypeKind.OBJECT, ISHAPEGROUP, None),
            (4, 3, 0, "ZEMRA::ILumoError", TypeKind.OBJECT, ILUMOERROR, None),
            (4, 4, 0, "LumoWindowId", TypeKind.WINDOW_ID, None, None),
            (5, 1, 0, "TLayer", TypeKind.TEMPLATE_PARAMETER, None, 0),
            (5, 1, 1, "Drawing::ICanvas", TypeKind.OBJECT, ICANVAS, None),
        ]
        interfaces = self.result.interfaces
        for interface, method, argument, name, kind, type_uuid, index in cases:
            with self.subTest(interface=interface, method=method, argument=argument):
                found = interfaces[interface].methods[method]
                type_ = found.return_type if argument is None else found.arguments[argument].type
                self.assertEqual((type_.name, type_.kind, type_.uuid, type_.template_parameter_index),
                                 (name, kind, type_uuid, index))
                self.assertIsInstance(type_.kind, TypeKind)

    def test_template_arguments_resolve_like_any_type(self):
        shapes = self.result.interface("Geometry::IShapeGroup").methods[0].arguments[0].type
        self.assertEqual(signature(shapes), "ZEMRA::ICollection<Geometry::IShape>")
        (argument,) = shapes.template_arguments
        self.assertEqual((argument.kind, argument.uuid), (TypeKind.OBJECT, ISHAPE))

        layers = self.result.interface("Drawing::ILayeredCanvas").methods[0].arguments[0].type
        (parameter,) = layers.template_arguments
        self.assertEqual((parameter.name, parameter.kind, parameter.template_parameter_index),
                         ("TLayer", TypeKind.TEMPLATE_PARAMETER, 0))

        palette = self.result.interface("Drawing::ICanvas").methods[2].arguments[0].type
        self.assertEqual(signature(palette), "LumoArrayEnumeration<Geometry::Color>")
        self.assertEqual(palette.template_arguments[0].uuid, COLOR)

    def test_enumeration_items_and_values(self):
        color = self.result.enumeration("Geometry::Color")
        self.assertEqual(color.uuid, COLOR)
        self.assertEqual((color.library_name, color.library_uuid), ("Geometry", GEOMETRY))
        self.assertEqual(color.attributes, {"uuid": "81D7ED04-1884-46E3-B817-E8C7BCDE0392"})
        self.assertEqual(color.items, [("Red", 1), ("Green", 2), ("Blue", 4), ("Transparent", 0)])
        self.assertEqual(color.value_of("Blue"), 4)
        self.assertEqual(color.value_of("Transparent"), 0)

    def test_value_of_an_unknown_item_raises_key_error(self):
        color = self.result.enumeration("Geometry::Color")
        for name in ["Purple", "red", "Geometry::Red", "Color::Red", "Red\0"]:
            with self.subTest(name=name), self.assertRaises(KeyError):
                color.value_of(name)

    def test_category_id_fields(self):
        exporters = self.result.category_ids[2]
        self.assertEqual((exporters.name, exporters.qualified_name), ("Exporters", "Drawing::Exporters"))
        self.assertEqual(exporters.uuid, uuid.UUID("EAB986DB-6536-463C-BA78-0A03E8C4EBB5"))
        self.assertEqual((exporters.library_name, exporters.library_uuid), ("Drawing", DRAWING))
        self.assertEqual(exporters.attributes, {"uuid": "EAB986DB-6536-463C-BA78-0A03E8C4EBB5"})

    def test_the_same_declaration_is_the_same_object_while_it_lives(self):
        first = self.result.interfaces[2]
        self.assertIs(self.result.interfaces[2], first)
        self.assertIs(self.result.interface("Geometry::IShape"), first)
        # Reached through its library it is another wrapper of the same declaration.
        through_library = self.result.libraries[1].interfaces[0]
        self.assertEqual(through_library, first)
        self.assertEqual(hash(through_library), hash(first))
        self.assertNotEqual(first, self.result.interfaces[3])


class InputListTest(support.FileTestCase):
    def test_an_empty_list_is_refused(self):
        with self.assertRaises(lumoidl.IdlError) as caught:
            lumoidl.parse([])
        self.assertEqual(caught.exception.message, "No input files specified")

    def test_one_path_may_be_given_without_a_list(self):
        result = lumoidl.parse(support.EXAMPLE_FILES[0])
        self.assertEqual([library.name for library in result.libraries], ["ZEMRA"])

    def test_a_file_name_outside_ascii_reaches_the_file(self):
        path = self.write("gé😀métrie.idl", support.library_text(
            "Lone", "0B1F8E2C-1A43-4C5E-9B1D-2E6F7A8B9C0D",
            "[uuid(1B1F8E2C-1A43-4C5E-9B1D-2E6F7A8B9C0D)] category Only;"))
        result = lumoidl.parse([path])
        self.assertEqual([category.qualified_name for category in result.category_ids], ["Lone::Only"])


if __name__ == "__main__":
    unittest.main()
