# Interfaces put in dependency order, and the cycle that prevents it.
import unittest

import lumoidl

from . import support

A_UUID = "2A000000-0000-4000-8000-00000000000A"
B_UUID = "2B000000-0000-4000-8000-00000000000B"


def interface(name, number, body=""):
    return f"    [uuid(3{number:07X}-0000-4000-8000-000000000000)] interface {name} {{ {body} }};"


def names(interfaces):
    return [item.qualified_name for item in interfaces]


class SortTest(support.FileTestCase):
    def parse_one(self, *interfaces):
        return lumoidl.parse([self.write("one.idl", support.library_text("L", A_UUID, "\n".join(interfaces)))])

    def test_examples_are_already_in_dependency_order(self):
        result = support.parse_examples()
        before = names(result.interfaces)
        self.assertEqual(names(result.sorted_interfaces()), before)

    def test_users_come_after_what_they_use(self):
        # X uses Y in an argument, Y returns Z.
        result = self.parse_one(
            interface("X", 1, "LUMORESULT use([in] Y y);"),
            interface("Y", 2, "Z make();"),
            interface("Z", 3),
        )
        self.assertEqual(names(result.sorted_interfaces()), ["L::Z", "L::Y", "L::X"])
        self.assertEqual(names(result.interfaces), ["L::Z", "L::Y", "L::X"])
        library = result.libraries[0]
        self.assertEqual(names(library.interfaces), ["L::X", "L::Y", "L::Z"])
        self.assertEqual(names(library.sorted_interfaces()), ["L::Z", "L::Y", "L::X"])

    def test_a_template_argument_counts_as_a_use(self):
        result = self.parse_one(
            interface("X", 1, "LUMORESULT all([out, retval] Box<Y> items);"),
            "    [uuid(3F000000-0000-4000-8000-000000000000)] interface Box<T> { };",
            interface("Y", 2),
        )
        self.assertEqual(names(result.sorted_interfaces()), ["L::Box", "L::Y", "L::X"])

    def test_a_cycle_raises_and_keeps_the_order(self):
        result = self.parse_one(
            interface("X", 1, "LUMORESULT a([in] Y y);"),
            interface("Y", 2, "LUMORESULT b([in] X x);"),
        )
        with self.assertRaises(lumoidl.CycleError) as caught:
            result.sorted_interfaces()
        self.assertIsInstance(caught.exception, lumoidl.IdlError)
        self.assertTrue(caught.exception.message)
        self.assertEqual(names(result.interfaces), ["L::X", "L::Y"])
        with self.assertRaises(lumoidl.CycleError):
            result.libraries[0].sorted_interfaces()

    def parse_two(self, a_body, b_body):
        first = self.write("a.idl", support.library_text("A", A_UUID, interface("IA", 1, a_body)))
        second = self.write("b.idl", support.library_text("B", B_UUID, interface("IB", 2, b_body)))
        return lumoidl.parse([first, second])

    def test_a_library_ignores_uses_of_other_libraries(self):
        result = self.parse_two("LUMORESULT a([in] B::IB b);", "LUMORESULT b([in] A::IA a);")
        with self.assertRaises(lumoidl.CycleError):
            result.sorted_interfaces()
        for library in result.libraries:
            with self.subTest(library=library.name):
                self.assertEqual(names(library.sorted_interfaces()), [f"{library.name}::I{library.name}"])

    def test_a_use_in_another_library_orders_the_result(self):
        result = self.parse_two("LUMORESULT a([in] B::IB b);", "")
        self.assertEqual(names(result.sorted_interfaces()), ["B::IB", "A::IA"])


if __name__ == "__main__":
    unittest.main()
