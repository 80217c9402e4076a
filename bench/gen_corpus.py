#!/usr/bin/env python3
"""Writes a deterministic set of valid IDL files of about the requested size, and the same
declarations in MIDL syntax (one file, no comments) for a MIDL-compatible compiler.

Usage: gen_corpus.py --megabytes N [--seed S] --out DIR

DIR/idl/*.idl      one library per file, in the order they are to be handed over
DIR/peer.idl       the same declarations for widl (run with -N -h)
DIR/manifest.json  the file list, byte counts and declaration counts

Every library draws its own random stream from (seed, library index), so a library's text does
not depend on the libraries written before it. Libraries refer to each other, both ways, through
their first few interfaces and enumerations, which every library is sure to have.
"""

import argparse
import json
import os
import random
import sys

LIBRARY_BYTES = (48_000, 160_000)   # the range of one library's size
MIN_INTERFACES = 8                  # interfaces every library declares first
MIN_ENUMERATIONS = 3                # enumerations every library declares first
NEIGHBOURS = 24                     # libraries referred to lie within this distance

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


def library_name(index):
    return f"{NOUNS[index % len(NOUNS)]}Lib{index}"


def interface_name(lib, k):
    return f"I{NOUNS[(lib * 7 + k) % len(NOUNS)]}{lib}x{k}"


def enumeration_name(lib, k):
    return f"{NOUNS[(lib * 11 + k) % len(NOUNS)]}Kind{lib}x{k}"


def template_parameter_count(seed, lib, k):
    """Deterministic per interface, so that other libraries know how to instantiate it."""
    draw = random.Random(f"{seed}:{lib}:{k}:template").random()
    return 2 if draw < 0.03 else 1 if draw < 0.10 else 0


def make_uuid(rng):
    value = rng.getrandbits(128) | 1
    text = f"{value:032X}"
    return f"{text[:8]}-{text[8:12]}-{text[12:16]}-{text[16:20]}-{text[20:]}"


class Library:
    """Builds one library's text in both syntaxes."""

    def __init__(self, seed, index, count):
        self.seed = seed
        self.index = index
        self.count = count
        self.rng = library_rng(seed, index, "text")
        self.budget = library_rng(seed, index, "plan").randint(*LIBRARY_BYTES)
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

    def emit(self, text):
        self.ours.append(text)
        self.size += len(text)

    # Type references, each as (our text, the peer's text).

    def other_library(self):
        low = max(0, self.index - NEIGHBOURS)
        high = min(self.count - 1, self.index + NEIGHBOURS)
        return self.rng.randint(low, high)

    def interface_ref(self, template_parameters, depth):
        rng = self.rng
        if rng.random() < 0.6:
            lib = self.index
            k = rng.randrange(max(self.interfaces, MIN_INTERFACES))
        else:
            lib = self.other_library()
            k = rng.randrange(MIN_INTERFACES)
        name = interface_name(lib, k)
        ours = name if lib == self.index else f"{library_name(lib)}::{name}"
        arity = template_parameter_count(self.seed, lib, k)
        if arity:
            arguments = [self.type_ref(template_parameters, depth + 1)[0] for _ in range(arity)]
            ours += "<" + ", ".join(arguments) + ">"
        return ours, name + " *"

    def enumeration_ref(self):
        rng = self.rng
        if rng.random() < 0.6:
            lib, k = self.index, rng.randrange(max(self.enumerations, MIN_ENUMERATIONS))
        else:
            lib, k = self.other_library(), rng.randrange(MIN_ENUMERATIONS)
        name = enumeration_name(lib, k)
        return (name if lib == self.index else f"{library_name(lib)}::{name}"), name

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
        name = enumeration_name(self.index, k)
        uuid = make_uuid(rng)
        count = rng.randint(4, 60)
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
            total = rng.randint(1, 6)
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
        name = interface_name(self.index, k)
        uuid = make_uuid(rng)
        arity = template_parameter_count(self.seed, self.index, k)
        parameters = ["T", "U"][:arity]
        header = name + ("<" + ", ".join(parameters) + ">" if parameters else "")
        lines = []
        if rng.random() < 0.5:
            lines.append(f"    // {name}: one of the {NOUNS[k % len(NOUNS)].lower()} objects of this library.\n")
        lines.append(f"    [uuid({uuid})]\n    interface {header} {{\n")
        peer = [f"    [object, uuid({uuid})]\n    interface {name} : IUnknown {{\n"]
        methods = rng.randint(5, 40)
        previous, previous_types = None, None
        for m in range(methods):
            draw = rng.random()
            kind = "get" if draw < 0.2 else "set" if draw < 0.28 else "call"
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
        name = library_name(self.index)
        self.emit(f"// {name}: generated library {self.index} of {self.count}.\n"
                  f"/* It refers to its neighbours' interfaces and enumerations by qualified names. */\n"
                  f"[uuid({lib_uuid}), version({rng.randint(1, 9)}.{rng.randint(0, 9)}), idlversion(1)]\n"
                  f"library {name} {{\n")
        for k in range(MIN_ENUMERATIONS):
            self.enumeration(k)
            self.enumerations += 1
        while self.interfaces < MIN_INTERFACES or self.size < self.budget:
            draw = rng.random()
            if draw < 0.80 or self.interfaces < MIN_INTERFACES:
                self.interface(self.interfaces)
                self.interfaces += 1
            elif draw < 0.94:
                self.enumeration(self.enumerations)
                self.enumerations += 1
            else:
                self.category()
        self.emit("};\n")
        return ("".join(self.ours),
                "".join(self.peer_types),
                f"[uuid({lib_uuid}), version(1.0)]\nlibrary {name} {{\n" + "".join(self.peer_body) + "};\n")


def library_count(seed, total):
    """How many libraries the budgets of the first ones take to reach the total size."""
    count, size = 0, 0
    while size < total:
        size += library_rng(seed, count, "plan").randint(*LIBRARY_BYTES)
        count += 1
    return count


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--megabytes", type=float, required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    total = int(args.megabytes * 1024 * 1024)
    count = library_count(args.seed, total)
    idl_dir = os.path.join(args.out, "idl")
    os.makedirs(idl_dir, exist_ok=True)
    files, counts, size = [], {}, 0
    peer_types, peer_libraries = [], []
    for index in range(count):
        library = Library(args.seed, index, count)
        ours, types, body = library.build()
        path = os.path.join(idl_dir, f"{index:04d}-{library_name(index)}.idl")
        with open(path, "w", encoding="ascii", newline="\n") as out:
            out.write(ours)
        files.append(os.path.relpath(path, args.out))
        size += len(ours)
        peer_types.append(types)
        peer_libraries.append(body)
        for key, value in library.counts.items():
            counts[key] = counts.get(key, 0) + value
    forward = "".join(f"interface {interface_name(index, k)};\n"
                      for index in range(count) for k in range(MIN_INTERFACES))
    peer = PEER_PRELUDE + forward + "".join(peer_types) + "".join(peer_libraries)
    with open(os.path.join(args.out, "peer.idl"), "w", encoding="ascii", newline="\n") as out:
        out.write(peer)
    manifest = {"seed": args.seed, "megabytes": args.megabytes, "bytes": size, "peer_bytes": len(peer),
                "files": files, "declarations": counts}
    with open(os.path.join(args.out, "manifest.json"), "w", encoding="ascii") as out:
        json.dump(manifest, out, indent=1)
    print(f"{args.out}: {len(files)} files, {size} bytes, {sum(counts.values())} declarations",
          file=sys.stderr)


if __name__ == "__main__":
    main()
