#!/usr/bin/env python3
# Example generator: a C++ header of abstract classes for the interfaces of a set of IDL files.
"""Writes one abstract class per interface, in dependency order, with enumerations first.

    python3 gen_header.py --library build/liblumoidl.so examples/*.idl > out.h
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))

import lumoidl  # noqa: E402  (found through the path set just above)
from lumoidl import TypeKind  # noqa: E402

# Built-in kinds -> C++ types. Declared interfaces, declared enumerations, LumoArrayEnumeration
# and template parameters are spelled from the type itself (see value_type).
BUILTIN_TYPES = {
    TypeKind.LUMORESULT: "std::uint32_t",
    TypeKind.STRING: "std::u16string",
    TypeKind.INTEGER: "std::int32_t",
    TypeKind.BOOLEAN: "bool",
    TypeKind.REAL: "double",
    TypeKind.OBJECT: "LumoObject*",
    TypeKind.ARRAY_STRING: "std::vector<std::u16string>",
    TypeKind.VALUE: "LumoValue",
    TypeKind.ARRAY_INTEGER: "std::vector<std::int32_t>",
    TypeKind.ARRAY_BOOLEAN: "std::vector<bool>",
    TypeKind.ARRAY_REAL: "std::vector<double>",
    TypeKind.ENUMERATION: "std::int32_t",
    TypeKind.ARRAY_VALUE: "std::vector<LumoValue>",
    TypeKind.ARRAY_BYTE: "std::vector<std::uint8_t>",
    TypeKind.UUID: "std::array<std::uint8_t, 16>",
    TypeKind.WINDOW_ID: "std::uintptr_t",
}

# Kinds passed to [in] arguments by const reference rather than by value.
BY_REFERENCE = {
    TypeKind.STRING,
    TypeKind.ARRAY_STRING,
    TypeKind.VALUE,
    TypeKind.ARRAY_INTEGER,
    TypeKind.ARRAY_BOOLEAN,
    TypeKind.ARRAY_REAL,
    TypeKind.ARRAY_ENUMERATION,
    TypeKind.ARRAY_VALUE,
    TypeKind.ARRAY_BYTE,
    TypeKind.UUID,
}

CPP_KEYWORDS = set(
    """alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t char16_t
    char32_t class compl concept const consteval constexpr constinit const_cast continue co_await
    co_return co_yield decltype default delete do double dynamic_cast else enum explicit export
    extern false float for friend goto if inline int long mutable namespace new noexcept not not_eq
    nullptr operator or or_eq private protected public register reinterpret_cast requires return
    short signed sizeof static static_assert static_cast struct switch template this thread_local
    throw true try typedef typeid typename union unsigned using virtual void volatile wchar_t while
    xor xor_eq""".split()
)

PRELUDE = """#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Supplied by the host: any object, and a value of any kind.
class LumoObject;
class LumoValue;
"""


def identifier(name):
    """An IDL name usable in C++: keywords get a trailing underscore."""
    return name + "_" if name in CPP_KEYWORDS else name


def qualified(name):
    """"Lib::Name" as a fully qualified C++ name."""
    return "::" + "::".join(identifier(part) for part in name.split("::"))


def value_type(type_, parameters):
    """The C++ type that holds one value of `type_`; interfaces are held by pointer."""
    if type_.kind == TypeKind.TEMPLATE_PARAMETER:
        return parameters[type_.template_parameter_index]
    if type_.kind == TypeKind.ARRAY_ENUMERATION:
        return f"std::vector<{value_type(type_.template_arguments[0], parameters)}>"
    if type_.uuid is None:
        return BUILTIN_TYPES[type_.kind]
    if type_.kind == TypeKind.ENUMERATION:
        return qualified(type_.name)
    arguments = [value_type(argument, parameters) for argument in type_.template_arguments]
    return qualified(type_.name) + (f"<{', '.join(arguments)}>" if arguments else "") + "*"


def parameter(argument, parameters):
    type_text = value_type(argument.type, parameters)
    if "out" in argument.attributes:
        type_text += "*"
    elif argument.type.kind in BY_REFERENCE:
        type_text = f"const {type_text}&"
    return f"{type_text} {identifier(argument.name)}"


def attribute_text(attributes):
    return ", ".join(name if value is None else f"{name}({value})" for name, value in attributes.items())


def template_head(interface):
    parameters = ", ".join(f"typename {identifier(name)}" for name in interface.template_parameters)
    return f"template <{parameters}>\n" if parameters else ""


class Writer:
    """Collects the header text, opening and closing one library namespace at a time."""

    def __init__(self):
        self.lines = []
        self.namespace = None

    def enter(self, namespace):
        if namespace != self.namespace:
            self.leave()
            self.lines.append(f"namespace {identifier(namespace)} {{")
            self.namespace = namespace

    def leave(self):
        if self.namespace is not None:
            self.lines.append(f"}}  // namespace {identifier(self.namespace)}")
            self.lines.append("")
            self.namespace = None

    def add(self, namespace, text, spaced=True):
        if namespace == self.namespace and spaced:
            self.lines.append("")
        self.enter(namespace)
        self.lines.append(text)


def write_enumeration(writer, enumeration):
    items = "".join(f"    {identifier(name)} = {value},\n" for name, value in enumeration.items)
    writer.add(
        enumeration.library_name,
        f"// {enumeration.qualified_name} {{{str(enumeration.uuid).upper()}}}\n"
        f"enum class {identifier(enumeration.name)} : std::int32_t {{\n{items}}};",
    )


def write_interface(writer, interface):
    name = identifier(interface.name)
    parameters = [identifier(parameter_name) for parameter_name in interface.template_parameters]
    body = [f"public:\n    virtual ~{name}() = default;"]
    for method in interface.methods:
        if method.attributes:
            body.append(f"    // [{attribute_text(method.attributes)}]")
        arguments = ", ".join(parameter(argument, parameters) for argument in method.arguments)
        result = value_type(method.return_type, parameters)
        body.append(f"    virtual {result} {identifier(method.name)}({arguments}) = 0;")
    writer.add(
        interface.library_name,
        f"// {interface.qualified_name} {{{str(interface.uuid).upper()}}}\n"
        f"{template_head(interface)}class {name} {{\n" + "\n".join(body) + "\n};",
    )


def forward_declarations(writer, result, interfaces):
    """Declares `interfaces` ahead, and every referenced interface that no file declares (ILumoError)."""
    for interface in interfaces:
        writer.add(interface.library_name, f"{template_head(interface)}class {identifier(interface.name)};", False)
    declared = {interface.uuid for interface in result.interfaces}
    external = set()
    for interface in result.interfaces:
        for method in interface.methods:
            for type_ in [method.return_type] + [argument.type for argument in method.arguments]:
                external |= _undeclared(type_, declared)
    for name in sorted(external):
        namespace, _, plain = name.rpartition("::")
        writer.add(namespace, f"class {identifier(plain)};", False)


def _undeclared(type_, declared):
    """Names of interfaces that `type_` refers to, with a uuid that no declaration bears."""
    undeclared = type_.kind == TypeKind.OBJECT and type_.uuid is not None and type_.uuid not in declared
    names = {type_.name} if undeclared else set()
    for argument in type_.template_arguments:
        names |= _undeclared(argument, declared)
    return names


def generate(result, sources):
    """The header text for a parsed result; `sources` are named in its first line."""
    try:
        interfaces, ahead = result.sorted_interfaces(), []
    except lumoidl.CycleError:
        # Interfaces that use each other: declare them all first, then any order compiles.
        print("gen_header.py: interfaces refer to each other in a cycle; declaring them ahead", file=sys.stderr)
        interfaces = ahead = result.interfaces
    writer = Writer()
    writer.lines.append(f"// Generated by gen_header.py from {', '.join(sources)}; do not edit.")
    writer.lines.append(PRELUDE)
    forward_declarations(writer, result, ahead)
    for enumeration in result.enumerations:
        write_enumeration(writer, enumeration)
    for interface in interfaces:
        write_interface(writer, interface)
    writer.leave()
    return "\n".join(writer.lines)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Write a C++ header of abstract classes from IDL files.")
    parser.add_argument("--library", help="path of liblumoidl.so / lumoidl.dll (default: $LUMOIDL_LIBRARY)")
    parser.add_argument("-o", "--output", help="write the header here instead of to standard output")
    parser.add_argument("files", nargs="+", help="IDL files, in the order they build on each other")
    options = parser.parse_args(argv)
    try:
        result = lumoidl.load(options.library).parse(options.files)
    except lumoidl.IdlError as error:
        print(error.message, file=sys.stderr)
        return 1
    text = generate(result, [os.path.basename(name) for name in options.files])
    if options.output:
        with open(options.output, "w", encoding="utf-8") as out:
            out.write(text)
    else:
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
