# Borrowed declarations keep their owner's reference alive; every reference goes back once.
import gc
import unittest

from lumoidl import TypeKind, model

from . import support


def walk(result):
    """Reads every declaration through the libraries, then sorts the result's interfaces."""
    for library in result.libraries:
        for interface in library.interfaces:
            for method in interface.methods:
                for argument in method.arguments:
                    argument.type.template_arguments
    result.sorted_interfaces()


class LifetimeTest(unittest.TestCase):
    def setUp(self):
        gc.collect()
        self.before = model.released.copy()

    def released(self, kind):
        """References of `kind` given back since the test started."""
        gc.collect()
        return model.released[kind] - self.before[kind]

    def test_an_interface_outlives_the_deleted_result(self):
        result = support.parse_examples()
        group = result.interface("Geometry::IShapeGroup")
        del result
        self.assertEqual(self.released("result"), 0)
        # Nothing below was read before the result went out of reach.
        shapes = group.methods[0].arguments[0].type
        self.assertEqual((shapes.name, shapes.kind), ("ZEMRA::ICollection", TypeKind.OBJECT))
        self.assertEqual(shapes.template_arguments[0].name, "Geometry::IShape")
        self.assertEqual(group.methods[1].arguments[0].attributes, {"in": None})
        del group
        self.assertEqual(self.released("result"), 0)
        del shapes
        self.assertEqual(self.released("result"), 1)

    def test_a_type_alone_keeps_the_result(self):
        result = support.parse_examples()
        palette = result.interface("Drawing::ICanvas").methods[2].arguments[0].type
        del result
        self.assertEqual(self.released("result"), 0)
        self.assertEqual(palette.template_arguments[0].name, "Geometry::Color")
        del palette
        self.assertEqual(self.released("result"), 1)

    def test_a_library_outlives_the_result_on_its_own_reference(self):
        result = support.parse_examples()
        geometry = result.libraries[1]
        del result
        self.assertEqual(self.released("result"), 1)
        self.assertEqual(self.released("library"), 2)
        self.assertEqual(geometry.name, "Geometry")
        self.assertEqual(geometry.attributes["version"], "2.1")
        self.assertEqual(geometry.interface("Geometry::IShape").methods[4].arguments[1].name, "dy")
        self.assertEqual(geometry.enumerations[0].value_of("Green"), 2)
        del geometry
        self.assertEqual(self.released("library"), 3)

    def test_an_item_of_a_library_keeps_that_library(self):
        result = support.parse_examples()
        color = result.libraries[1].enumerations[0]
        del result
        self.assertEqual((self.released("result"), self.released("library")), (1, 2))
        self.assertEqual(color.items[0], ("Red", 1))
        self.assertEqual(color.library_name, "Geometry")
        del color
        self.assertEqual(self.released("library"), 3)

    def test_every_reference_goes_back_exactly_once(self):
        for _ in range(3):
            walk(support.parse_examples())
        self.assertEqual((self.released("result"), self.released("library")), (3, 9))

    def test_a_result_whose_libraries_were_never_asked_for_takes_no_library_reference(self):
        result = support.parse_examples()
        self.assertEqual(len(result.interfaces), 6)
        del result
        self.assertEqual((self.released("result"), self.released("library")), (1, 0))


if __name__ == "__main__":
    unittest.main()
