#!/usr/bin/env python3
"""Writes a deterministic set of valid IDL files of about the requested size, and the same
declarations in MIDL syntax (one file, no comments) for a MIDL-compatible compiler.

Usage: gen_corpus.py --megabytes N [--shape SHAPE] [--seed S] --out DIR

DIR/idl/*.idl      one library per file, in the order they are to be handed over
DIR/peer.idl       the same declarations for widl (run with -N -h)
DIR/manifest.json  the shape, the file list, byte counts and declaration counts

Shapes:
  libraries    (the default) libraries of 48 to 160 KB, one per file, each referring to the
               first interfaces and enumerations of its neighbours, both earlier and later files
  one-library  a single file with a single library: thousands of interfaces of about 20 methods
               of 3 arguments, with enumerations, category IDs and templates among them
  many-small   hundreds of libraries of 1 to 40 KB, mostly enumerations of many items; each
               library refers to the interfaces and enumerations of libraries of earlier files
  deep         template instances nested 3 to 6 levels, long library and interface names that
               are always written qualified, methods of 10 to 30 arguments

Every library draws its own random stream from (seed, library index). In all shapes but
many-small a library's text does not depend on the libraries written before it; a many-small
library needs to know how many interfaces and enumerations the earlier ones declared.
"""

import argparse
import json
import math
import os
import random
import sys

NOUNS = ["Shape", "Color", "Brush", "Layer", "Document", "Page", "Window", "Frame", "Node",
         "Edge", "Graph", "Table", "Column", "Row", "Cell", "Record", "Stream", "Buffer",
         "Device", "Channel", "Signal", "Sensor", "Camera", "Light", "Scene", "Mesh",
         "Texture", "Font", "Glyph", "Style", "Theme", "Palette", "Account", "Session",
         "Message", "Folder", "Item", "Query", "Result", "Filter", "Rule", "Policy", "Task",
         "Job", "Queue", "Worker", "Clock", "Timer", "Event", "Handler", "Module", "Plugin"]
VERBS = ["get", "set", "add", "remove", "find", "open", "close", "move", "draw", "load",
         "save", "apply", "reset", "start", "stop", "query", "update", "create", "attach",
         "detach", "measure", "convert", "select", "render", "notify", "resolve", "merge"]
ADJECTIVES = ["Primary", "Secondary", "Visible", "Hidden", "Local", "Remote", "Current",
              "Default", "Active", "Pending", "Shared", "Private", "Outer", "Inner"]
# Words that make the names of the deep shape long.
LONG_WORDS = ["Management", "Configuration", "Presentation", "Synchronisation", "Notification",
              "Administration", "Distribution", "Authorisation", "Visualisation", "Orchestration"]

# Built-in types (with the peer's equivalent) that an argument may have.
BUILTINS = ["LumoString", "LumoInteger", "LumoBoolean", "LumoReal", "LumoObject", "LumoValue",
            "LumoArrayString", "LumoArrayInteger", "LumoArrayBoolean", "LumoArrayReal",
            "LumoArrayValue", "LumoArrayByte", "LumoUUID", "LumoWindowId", "LumoEnumeration"]

PEER_PRELUDE = """typedef long LUMORESULT;
typedef unsigned short WCHAR;
typedef WCHAR *LumoString;
typedef int LumoInteger;
typedef int LumoBoolean;
typedef double LumoReal;
typedef double LumoValue;
typedef LumoString *LumoArrayString;
typedef int *LumoArrayInteger;
typedef int *LumoArrayBoolean;
typedef double *LumoArrayReal;
typedef double *LumoArrayValue;
typedef unsigned char *LumoArrayByte;
typedef int *LumoArrayEnumeration;
typedef int LumoEnumeration;
typedef struct LumoUUID { unsigned int a; unsigned short b; unsigned short c; unsigned char d[8]; } LumoUUID;
typedef unsigned int LumoWindowId;
[object, uuid(00000000-0000-0000-C000-000000000046), local]
interface IUnknown { LUMORESULT Release(); }
typedef IUnknown *LumoObject;
[object, uuid(855063FA-5C39-45DA-9B3D-0B3D4B72660C)]
interface ILumoError : IUnknown { LUMORESULT text([out, retval] LumoString *text); }
"""


def library_rng(seed, index, purpose):
    """The random stream of one library for one purpose (its plan or its text)."""
    return random.Random(f"{seed}:{index}:{purpose}")


def make_uuid(rng):
    value = rng.getrandbits(128) | 1
    text = f"{value:032X}"
    return f"{text[:8]}-{text[8:12]}-{text[12:16]}-{text[16:20]}-{text[20:]}"


class Library:
    """Builds one library's text in both syntaxes; this class is the libraries shape, and the
    other shapes change its constants and a few of its choices."""

    SHAPE = "libraries"
    LIBRARY_BYTES = (48_000, 160_000)   # the range of one library's size
    MIN_INTERFACES = 8                  # interfaces every library declares first
    MIN_ENUMERATIONS = 3                # enumerations every library declares first
    NEIGHBOURS = 24                     # libraries referred to lie within this distance
    DECLARATION_DRAWS = (0.80, 0.94)    # below the first an interface, below the second an enumeration
    METHOD_DRAWS = (0.20, 0.28)         # below the first a getter, below the second a setter
    TEMPLATE_DRAWS = (0.03, 0.10)       # below the first two template parameters, below the second one
    METHODS = (5, 40)                   # methods per interface
    ARGUMENTS = (1, 6)                  # arguments per method that is not a property accessor
    ITEMS = (4, 60)                     # items per enumeration

    def __init__(self, seed, index, budgets, declared):
        """`budgets` holds the size of every library; `declared` the (interfaces, enumerations)
        counts of the libraries built before this one."""
        self.seed = seed
        self.index = index
        self.count = len(budgets)
        self.declared = declared
        self.rng = library_rng(seed, index, "text")
        self.budget = budgets[index]
        self.ours = []
        self.peer_types = []       # enumerations, put before every interface in the peer file
        self.peer_body = []        # interfaces and category IDs, inside the peer's library block
        self.size = 0
        self.interfaces = 0        # declared so far
        self.enumerations = 0
        self.categories = 0
        self.counts = dict.fromkeys(["libraries", "interfaces", "template_parameters", "methods",
                                     "arguments", "enumerations", "items", "category_ids"], 0)
        self.counts["libraries"] = 1

    # What the shape decides without drawing from a library's text stream.

    @classmethod
    def plan(cls, seed, total):
        """The sizes of the libraries: as many as their budgets take to reach the total size."""
        budgets = []
        while sum(budgets) < total:
            budgets.append(library_rng(seed, len(budgets), "plan").randint(*cls.LIBRARY_BYTES))
        return budgets

    @staticmethod
    def library_name(index):
        return f"{NOUNS[index % len(NOUNS)]}Lib{index}"

    @staticmethod
    def interface_name(lib, k):
        return f"I{NOUNS[(lib * 7 + k) % len(NOUNS)]}{lib}x{k}"

    @staticmethod
    def enumeration_name(lib, k):
        return f"{NOUNS[(lib * 11 + k) % len(NOUNS)]}Kind{lib}x{k}"

    @classmethod
    def template_parameter_count(cls, seed, lib, k):
        """Deterministic per interface, so that other libraries know how to instantiate it."""
        draw = random.Random(f"{seed}:{lib}:{k}:template").random()
        return 2 if draw < cls.TEMPLATE_DRAWS[0] else 1 if draw < cls.TEMPLATE_DRAWS[1] else 0

    def emit(self, text):
        self.ours.append(text)
        self.size += len(text)

    # Type references, each as (our text, the peer's text).

    def qualified(self, lib, name):
        return name if lib == self.index else f"{self.library_name(lib)}::{name}"

    def other_library(self):
        low = max(0, self.index - self.NEIGHBOURS)
        high = min(self.count - 1, self.index + self.NEIGHBOURS)
        return self.rng.randint(low, high)

    def pick_interface(self):
        """(library, index) of an interface to refer to."""
        if self.rng.random() < 0.6:
            return self.index, self.rng.randrange(max(self.interfaces, self.MIN_INTERFACES))
        return self.other_library(), self.rng.randrange(self.MIN_INTERFACES)

    def pick_enumeration(self):
        """(library, index) of an enumeration to refer to."""
        if self.rng.random() < 0.6:
            return self.index, self.rng.randrange(max(self.enumerations, self.MIN_ENUMERATIONS))
        return self.other_library(), self.rng.randrange(self.MIN_ENUMERATIONS)

    def interface_ref(self, template_parameters, depth):
        lib, k = self.pick_interface()
        name = self.interface_name(lib, k)
        ours = self.qualified(lib, name)
        arity = self.template_parameter_count(self.seed, lib, k)
        if arity:
            arguments = [self.type_ref(template_parameters, depth + 1)[0] for _ in range(arity)]
            ours += "<" + ", ".join(arguments) + ">"
        return ours, name + " *"

    def enumeration_ref(self):
        lib, k = self.pick_enumeration()
        name = self.enumeration_name(lib, k)
        return self.qualified(lib, name), name

    def type_ref(self, template_parameters, depth=0):
        rng = self.rng
        draw = rng.random()
        if template_parameters and draw < 0.25:
            return rng.choice(template_parameters), "IUnknown *"
        draw = rng.random()
        if draw < 0.50 or depth > 1:
            name = rng.choice(BUILTINS)
            return name, name
        if draw < 0.80:
            return self.interface_ref(template_parameters, depth)
        if draw < 0.90:
            return self.enumeration_ref()
        if draw < 0.95:
            return f"LumoArrayEnumeration<{self.enumeration_ref()[0]}>", "LumoArrayEnumeration"
        return "ILumoError", "ILumoError *"

    # Declarations.

    def enumeration(self, k):
        rng = self.rng
        name = self.enumeration_name(self.index, k)
        uuid = make_uuid(rng)
        count = rng.randint(*self.item_range())
        items, peer_items = [], []
        value = 0
        for n in range(count):
            item = f"{name}{rng.choice(ADJECTIVES)}{n}"
            value += rng.randint(1, 4)
            text = f"0x{value:X}" if rng.random() < 0.3 else str(value)
            items.append(f"        {item} = {text}")
            peer_items.append(f"    {item} = {text}")
        self.emit(f"    // Values of {name}.\n    [uuid({uuid})]\n    enum {{\n" + ",\n".join(items) +
                  f"\n    }} {name};\n\n")
        self.peer_types.append(f"typedef [uuid({uuid})] enum {name} {{\n" + ",\n".join(peer_items) +
                               f"\n}} {name};\n")
        self.counts["enumerations"] += 1
        self.counts["items"] += count

    def item_range(self):
        return self.ITEMS

    def category(self):
        rng = self.rng
        name = f"{rng.choice(ADJECTIVES)}{NOUNS[self.categories % len(NOUNS)]}s{self.index}x{self.categories}"
        uuid = make_uuid(rng)
        self.emit(f"    [uuid({uuid})]\n    category {name};\n\n")
        self.peer_body.append(f"    [uuid({uuid})]\n    coclass {name} {{ }};\n")
        self.categories += 1
        self.counts["category_ids"] += 1

    def arguments(self, template_parameters, kind):
        """Arguments of one method: in before out, retval only on the last out."""
        rng = self.rng
        if kind == "get":
            shape = [["out", "retval"]]
        elif kind == "set":
            shape = [["in"]]
        else:
            total = rng.randint(*self.ARGUMENTS)
            outs = rng.choice([0, 0, 1, 1, 2]) if total > 1 else rng.choice([0, 1])
            outs = min(outs, total)
            shape = [["in"]] * (total - outs) + [["out"]] * outs
            if outs and rng.random() < 0.6:
                shape = shape[:-1] + [["out", "retval"]]
        ours, peer, types = [], [], []
        for n, directions in enumerate(shape):
            type_text, peer_type = self.type_ref(template_parameters)
            name = f"{rng.choice(NOUNS).lower()}{n}"
            attributes = ", ".join(directions)
            ours.append(f"[{attributes}] {type_text} {name}")
            pointer = "*" if "out" in directions else ""
            peer.append(f"[{attributes}] {peer_type.replace(' *', '*')}{pointer} {name}")
            types.append(type_text)
        return ours, peer, types

    def interface(self, k):
        rng = self.rng
        name = self.interface_name(self.index, k)
        uuid = make_uuid(rng)
        arity = self.template_parameter_count(self.seed, self.index, k)
        parameters = ["T", "U"][:arity]
        header = name + ("<" + ", ".join(parameters) + ">" if parameters else "")
        lines = []
        if rng.random() < 0.5:
            lines.append(f"    // {name}: one of the {NOUNS[k % len(NOUNS)].lower()} objects of this library.\n")
        lines.append(f"    [uuid({uuid})]\n    interface {header} {{\n")
        peer = [f"    [object, uuid({uuid})]\n    interface {name} : IUnknown {{\n"]
        methods = rng.randint(*self.METHODS)
        previous, previous_types = None, None
        for m in range(methods):
            draw = rng.random()
            kind = "get" if draw < self.METHOD_DRAWS[0] else "set" if draw < self.METHOD_DRAWS[1] else "call"
            overload = previous is not None and kind == "call" and rng.random() < 0.05
            method = previous if overload else f"{rng.choice(VERBS)}{rng.choice(NOUNS)}{m}"
            ours_args, peer_args, types = self.arguments(parameters, kind)
            # An overload must differ from the method it overloads in its argument types.
            while overload and types == previous_types:
                ours_args, peer_args, types = self.arguments(parameters, kind)
            previous, previous_types = (method, types) if kind == "call" else (None, None)
            self.counts["arguments"] += len(types)
            attributes = {"get": "[property_get] ", "set": "[property_set] ", "call": ""}[kind]
            peer_attributes = {"get": "[propget] ", "set": "[propput] ", "call": ""}[kind]
            if kind == "call" and rng.random() < 0.1:
                long_name = method[0].upper() + method[1:] + "Long"
                attributes = f"[long_name({long_name})] "
                peer_attributes = f"[helpstring(\"{long_name}\")] "
            if rng.random() < 0.05:
                lines.append(f"        /* {method}: see the {rng.choice(NOUNS).lower()} guide. */\n")
            lines.append(f"        {attributes}LUMORESULT {method}({', '.join(ours_args)});\n")
            peer.append(f"        {peer_attributes}LUMORESULT {method}({', '.join(peer_args)});\n")
        lines.append("    };\n\n")
        peer.append("    };\n")
        self.emit("".join(lines))
        self.peer_body.append("".join(peer))
        self.counts["interfaces"] += 1
        self.counts["template_parameters"] += arity
        self.counts["methods"] += methods

    def build(self):
        rng = self.rng
        lib_uuid = make_uuid(rng)
        name = self.library_name(self.index)
        self.emit(f"// {name}: generated library {self.index} of {self.count}.\n"
                  f"/* It refers to its neighbours' interfaces and enumerations by qualified names. */\n"
                  f"[uuid({lib_uuid}), version({rng.randint(1, 9)}.{rng.randint(0, 9)}), idlversion(1)]\n"
                  f"library {name} {{\n")
        for k in range(self.MIN_ENUMERATIONS):
            self.enumeration(k)
            self.enumerations += 1
        while self.interfaces < self.MIN_INTERFACES or self.size < self.budget:
            draw = rng.random()
            if draw < self.DECLARATION_DRAWS[0] or self.interfaces < self.MIN_INTERFACES:
                self.interface(self.interfaces)
                self.interfaces += 1
            elif draw < self.DECLARATION_DRAWS[1]:
                self.enumeration(self.enumerations)
                self.enumerations += 1
            else:
                self.category()
        self.emit("};\n")
        return ("".join(self.ours),
                "".join(self.peer_types),
                f"[uuid({lib_uuid}), version(1.0)]\nlibrary {name} {{\n" + "".join(self.peer_body) + "};\n")


class OneLibrary(Library):
    """Everything in one library: interfaces of about 20 methods of 3 arguments each."""

    SHAPE = "one-library"
    METHOD_DRAWS = (0.0, 0.0)           # no property accessors: every method takes 3 arguments
    METHODS = (17, 23)
    ARGUMENTS = (3, 3)

    @classmethod
    def plan(cls, seed, total):
        return [total]


class ManySmall(Library):
    """Small libraries, mostly enumerations, referring to libraries of earlier files."""

    SHAPE = "many-small"
    LIBRARY_BYTES = (1_000, 40_000)     # drawn evenly on a logarithmic scale
    MIN_INTERFACES = 1
    MIN_ENUMERATIONS = 1
    DECLARATION_DRAWS = (0.30, 0.92)
    METHODS = (2, 12)
    ITEMS = (16, 160)

    @classmethod
    def plan(cls, seed, total):
        low, high = (math.log(size) for size in cls.LIBRARY_BYTES)
        budgets = []
        while sum(budgets) < total:
            budgets.append(int(math.exp(library_rng(seed, len(budgets), "plan").uniform(low, high))))
        return budgets

    def item_range(self):
        """No more items than the rest of the budget holds (about 40 bytes each), so that small
        libraries stay small."""
        low, high = self.ITEMS
        return low, max(low, min(high, (self.budget - self.size) // 40))

    def pick_interface(self):
        if self.index == 0 or self.rng.random() < 0.5:
            return self.index, self.rng.randrange(max(self.interfaces, self.MIN_INTERFACES))
        lib = self.rng.randrange(self.index)
        return lib, self.rng.randrange(self.declared[lib][0])

    def pick_enumeration(self):
        if self.index == 0 or self.rng.random() < 0.5:
            return self.index, self.rng.randrange(max(self.enumerations, self.MIN_ENUMERATIONS))
        lib = self.rng.randrange(self.index)
        return lib, self.rng.randrange(self.declared[lib][1])


class Deep(Library):
    """Nested template instances, long qualified names and methods of many arguments."""

    SHAPE = "deep"
    LIBRARY_BYTES = (96_000, 256_000)

    def __init__(self, seed, index, budgets, declared):
        super().__init__(seed, index, budgets, declared)
        self.peer_instances = set()
    MIN_INTERFACES = 6
    METHOD_DRAWS = (0.0, 0.0)           # no property accessors: every method takes many arguments
    METHODS = (2, 6)
    ARGUMENTS = (10, 30)
    # The first interfaces of every library are its templates, with these numbers of parameters;
    # no other interface is a template.
    TEMPLATE_ARITIES = (1, 2, 2, 1)
    NESTING = (3, 6)                    # levels of a nested template instance
    NESTED_SHARE = 0.3                  # of the argument types

    @staticmethod
    def library_name(index):
        return (f"{LONG_WORDS[index % len(LONG_WORDS)]}{NOUNS[index * 7 % len(NOUNS)]}"
                f"{LONG_WORDS[(index * 3 + 1) % len(LONG_WORDS)]}ServicesLibrary{index}")

    @staticmethod
    def interface_name(lib, k):
        return (f"I{ADJECTIVES[(lib + k) % len(ADJECTIVES)]}{NOUNS[(lib * 7 + k) % len(NOUNS)]}"
                f"{LONG_WORDS[(lib + k * 3) % len(LONG_WORDS)]}{NOUNS[(lib * 5 + k * 11) % len(NOUNS)]}"
                f"Provider{lib}x{k}")

    @staticmethod
    def enumeration_name(lib, k):
        return f"{NOUNS[(lib * 11 + k) % len(NOUNS)]}{LONG_WORDS[(lib + k) % len(LONG_WORDS)]}Kind{lib}x{k}"

    @classmethod
    def template_parameter_count(cls, seed, lib, k):
        return cls.TEMPLATE_ARITIES[k] if k < len(cls.TEMPLATE_ARITIES) else 0

    def qualified(self, lib, name):
        return f"{self.library_name(lib)}::{name}"

    def pick_library(self):
        """This library or a neighbour."""
        return self.index if self.rng.random() < 0.5 else self.other_library()

    def instance_text(self, parameters, levels):
        """An instance of a template `levels` deep: one of its arguments nests one level less."""
        rng = self.rng
        lib, k = self.pick_library(), rng.randrange(len(self.TEMPLATE_ARITIES))
        name = self.interface_name(lib, k)
        arity = self.TEMPLATE_ARITIES[k]
        deeper = rng.randrange(arity)
        arguments = [self.instance_text(parameters, levels - 1) if n == deeper and levels > 1
                     else self.leaf_ref(parameters)[0] for n in range(arity)]
        return f"{self.qualified(lib, name)}<{', '.join(arguments)}>"

    def template_ref(self, parameters, levels):
        ours = self.instance_text(parameters, levels)
        return ours, self.peer_instance(ours) + " *"

    def peer_instance(self, ours):
        """The peer's name of a template instance. MIDL has no templates: as a MIDL 3 compiler
        names each instance of a parameterized interface, the instance becomes an interface of
        its own whose name spells out the whole instance, forward-declared once per library."""
        mangled = ours
        for text, replacement in (("::", "_"), ("<", "_L_"), (", ", "_C_"), (">", "_R")):
            mangled = mangled.replace(text, replacement)
        mangled = "__" + mangled
        if mangled not in self.peer_instances:
            self.peer_instances.add(mangled)
            self.peer_types.append(f"interface {mangled};\n")
        return mangled

    def leaf_ref(self, parameters):
        """A type without template arguments, or an array of enumerations."""
        rng = self.rng
        draw = rng.random()
        if parameters and draw < 0.15:
            return rng.choice(parameters), "IUnknown *"
        if draw < 0.45:
            name = rng.choice(BUILTINS)
            return name, name
        if draw < 0.80:
            lib = self.pick_library()
            first = len(self.TEMPLATE_ARITIES)
            known = max(self.interfaces, self.MIN_INTERFACES) if lib == self.index else self.MIN_INTERFACES
            name = self.interface_name(lib, rng.randrange(first, known))
            return self.qualified(lib, name), name + " *"
        if draw < 0.95:
            return self.enumeration_ref()
        return f"LumoArrayEnumeration<{self.enumeration_ref()[0]}>", "LumoArrayEnumeration"

    def type_ref(self, template_parameters):
        if self.rng.random() < self.NESTED_SHARE:
            return self.template_ref(template_parameters, self.rng.randint(*self.NESTING))
        return self.leaf_ref(template_parameters)


SHAPES = {shape.SHAPE: shape for shape in [Library, OneLibrary, ManySmall, Deep]}


def write_text(path, text):
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--megabytes", type=float, required=True)
    parser.add_argument("--shape", choices=list(SHAPES), default="libraries")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    shape = SHAPES[args.shape]
    budgets = shape.plan(args.seed, int(args.megabytes * 1024 * 1024))
    idl_dir = os.path.join(args.out, "idl")
    os.makedirs(idl_dir, exist_ok=True)
    files, counts, size, declared = [], {}, 0, []
    peer_types, peer_libraries = [], []
    for index in range(len(budgets)):
        library = shape(args.seed, index, budgets, declared)
        ours, types, body = library.build()
        path = os.path.join(idl_dir, f"{index:04d}-{shape.library_name(index)}.idl")
        write_text(path, ours)
        files.append(os.path.relpath(path, args.out))
        size += len(ours)
        declared.append((library.interfaces, library.enumerations))
        peer_types.append(types)
        peer_libraries.append(body)
        for key, value in library.counts.items():
            counts[key] = counts.get(key, 0) + value
    forward = "".join(f"interface {shape.interface_name(index, k)};\n"
                      for index in range(len(budgets)) for k in range(shape.MIN_INTERFACES))
    peer = PEER_PRELUDE + forward + "".join(peer_types) + "".join(peer_libraries)
    write_text(os.path.join(args.out, "peer.idl"), peer)
    manifest = {"shape": args.shape, "seed": args.seed, "megabytes": args.megabytes, "bytes": size,
                "peer_bytes": len(peer), "files": files, "declarations": counts}
    with open(os.path.join(args.out, "manifest.json"), "w", encoding="ascii") as out:
        json.dump(manifest, out, indent=1)
    print(f"{args.out}: {len(files)} files, {size} bytes, {sum(counts.values())} declarations",
          file=sys.stderr)


if __name__ == "__main__":
    main()
