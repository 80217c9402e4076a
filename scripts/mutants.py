#!/usr/bin/env python3
"""Mutation testing of src/: how many single-point faults the Linux test programs catch.

From a seed, the script picks a sample of single-point mutations of the library's sources
(comparison and equality operators swapped, integer constants moved by one, true/false swapped,
&&/|| swapped, a call statement deleted, a returned value replaced by a default one). Each is
applied in turn to a scratch copy of the tree, which is rebuilt incrementally; then the test
programs run, fastest first, until one fails. The outcome of each mutant is one of:
killed (a test failed), timed out (counted as caught), survived (every test passed) or did not
build (left out of the score).

The sample depends only on the seed and on the text of the lines mutated: a candidate's rank is
a hash of the seed, its file, the text of its line and the mutation, so editing one part of src/
leaves the sample of the other parts as it was.
"""

import argparse
import hashlib
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tarfile
import time
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# Sources only the Windows build compiles: no Linux test program can see a mutation there.
WINDOWS_ONLY = re.compile(r"_windows\.cpp$")
# Statements that start with a keyword are not plain calls.
KEYWORDS = {"return", "if", "while", "for", "switch", "case", "delete", "throw", "else", "do", "goto",
            "break", "continue", "using", "typedef", "static_assert", "new", "co_return", "default"}
# A call statement: a postfix expression (no blank before the parenthesis) ending in `);`.
CALL_STATEMENT = re.compile(r"^[A-Za-z_][\w:.\->\[\]]*(<[\w:, ]*>)?\(.*\);$")
RETURN_STATEMENT = re.compile(r"^return (.+);$")
INTEGER = re.compile(r"(?<![\w.$'])(0[xX][0-9a-fA-F]+|\d+)([uUlLzZ]*)(?![\w.'])")
SPACED_OPERATORS = {" == ": " != ", " != ": " == ", " < ": " <= ", " <= ": " < ", " > ": " >= ",
                    " >= ": " > ", " && ": " || ", " || ": " && "}
WORDS = {"true": "false", "false": "true"}


@dataclass
class Mutant:
    path: str      # relative to the tree
    line: int      # 1-based
    start: int     # column of the replaced text in the line, 0-based
    end: int
    replacement: str
    description: str
    rank: str = ""

    def where(self):
        return f"{self.path}:{self.line}"


def code_mask(lines):
    """For each line, a string of the same length where characters outside comments, string
    and character literals are kept and the others are blanked."""
    masks = []
    in_block = False
    for line in lines:
        out = []
        k = 0
        n = len(line)
        while k < n:
            c = line[k]
            if in_block:
                if line.startswith("*/", k):
                    in_block = False
                    out.append("  ")
                    k += 2
                else:
                    out.append(" ")
                    k += 1
            elif line.startswith("//", k):
                out.append(" " * (n - k))
                break
            elif line.startswith("/*", k):
                in_block = True
                out.append("  ")
                k += 2
            elif c in "\"'":
                end = k + 1
                while end < n and line[end] != c:
                    end += 2 if line[end] == "\\" else 1
                end = min(end + 1, n)
                # An apostrophe between digits is a digit separator, not a character literal.
                if c == "'" and k > 0 and line[k - 1].isalnum() and end - k > 3:
                    out.append(c)
                    k += 1
                    continue
                out.append(c + " " * (end - k - 2) + (c if end - k >= 2 else ""))
                k = end
            else:
                out.append(c)
                k += 1
        masks.append("".join(out))
    return masks


def candidates_of(path, text):
    """Every mutation the operators allow in one source file."""
    lines = text.split("\n")
    masks = code_mask(lines)
    grammar = path.endswith(".y")
    found = []
    previous_code = ";"
    for number, (line, mask) in enumerate(zip(lines, masks), start=1):
        stripped = mask.strip()
        if not stripped or stripped.startswith("#") or (grammar and stripped.startswith("%")):
            continue
        for operator, replacement in SPACED_OPERATORS.items():
            for match in re.finditer(re.escape(operator), mask):
                found.append(Mutant(path, number, match.start(), match.end(), replacement,
                                    f"`{operator.strip()}` -> `{replacement.strip()}`"))
        for match in re.finditer(r"\b(true|false)\b", mask):
            word = match.group(1)
            found.append(Mutant(path, number, match.start(), match.end(), WORDS[word],
                                f"`{word}` -> `{WORDS[word]}`"))
        for match in INTEGER.finditer(mask):
            digits, suffix = match.group(1), match.group(2)
            value = int(digits, 0)
            for moved in (value + 1, value - 1):
                if moved < 0:
                    continue
                written = f"0x{moved:X}" if digits[:2] in ("0x", "0X") else str(moved)
                found.append(Mutant(path, number, match.start(), match.end(), written + suffix,
                                    f"`{digits}{suffix}` -> `{written}{suffix}`"))
        head = re.match(r"[A-Za-z_]\w*", stripped)
        ends_statement = previous_code.endswith((";", "{", "}", ":", ")")) or previous_code == "else"
        if (ends_statement and head and head.group(0) not in KEYWORDS and CALL_STATEMENT.match(stripped)
                and stripped.count("(") == stripped.count(")")):
            start = mask.index(stripped)
            found.append(Mutant(path, number, start, start + len(stripped), ";",
                                f"call `{line.strip()}` deleted"))
        returned = RETURN_STATEMENT.match(stripped)
        if returned:
            value = returned.group(1).strip()
            literal = value in ("true", "false", "nullptr", "{}") or INTEGER.fullmatch(value)
            if not literal and stripped.count("(") == stripped.count(")"):
                start = mask.index(stripped)
                found.append(Mutant(path, number, start, start + len(stripped), "return {};",
                                    f"`{line.strip()}` -> `return {{}};`"))
        previous_code = stripped
    return found


def sample(tree, seed, count):
    """The `count` candidates of lowest rank for `seed`, in a stable order."""
    everything = []
    for source in sorted((tree / "src").rglob("*")):
        if source.suffix not in (".cpp", ".h", ".y") or WINDOWS_ONLY.search(source.name):
            continue
        relative = source.relative_to(tree).as_posix()
        text = source.read_text(encoding="utf-8")
        lines = text.split("\n")
        seen = {}
        for mutant in candidates_of(relative, text):
            key = (lines[mutant.line - 1].strip(), mutant.start, mutant.description)
            seen[key] = seen.get(key, 0) + 1
            identity = f"{seed}|{relative}|{key}|{seen[key]}"
            mutant.rank = hashlib.sha256(identity.encode()).hexdigest()
            everything.append(mutant)
    chosen = sorted(everything, key=lambda m: m.rank)[:count]
    return sorted(chosen, key=lambda m: (m.path, m.line, m.start, m.description)), len(everything)


def copy_tree(destination, revision):
    """A scratch copy of the project: the files of `revision`, or of the working tree."""
    if destination.exists():
        shutil.rmtree(destination)
    destination.mkdir(parents=True)
    if revision:
        archive = subprocess.run(["git", "-C", str(ROOT), "archive", revision], check=True,
                                 capture_output=True).stdout
        with tarfile.open(fileobj=io.BytesIO(archive)) as tar:
            tar.extractall(destination)
        return
    listed = subprocess.run(["git", "-C", str(ROOT), "ls-files", "-co", "--exclude-standard", "-z"],
                            check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, listed):
        source = ROOT / name
        if source.is_file():
            (destination / name).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, destination / name)


class Worker:
    """One scratch tree with its build, on which mutants are tried one at a time."""

    def __init__(self, tree):
        self.tree = tree
        self.build = tree / "build"
        self.programs = []

    def configure(self):
        flags = ["-DCMAKE_BUILD_TYPE=None", "-DCMAKE_CXX_FLAGS=-O1 -g0"]
        # Putting a header back rebuilds every file that includes it; with ccache those
        # rebuilds are cache hits.
        if shutil.which("ccache"):
            flags.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        subprocess.run(["cmake", "-S", str(self.tree), "-B", str(self.build), "-G", "Ninja"] + flags,
                       check=True, capture_output=True)
        listed = subprocess.run(["ninja", "-C", str(self.build), "-t", "targets", "all"], check=True,
                                capture_output=True, text=True).stdout
        self.targets = sorted({line.split(":")[0] for line in listed.splitlines()
                               if line.startswith("tests/") and "EXECUTABLE_LINKER" in line})
        self.targets += ["liblumoidl.so", "lumoidl"]

    def rebuild(self):
        done = subprocess.run(["ninja", "-C", str(self.build), "-j2"] + self.targets,
                              capture_output=True, text=True)
        return done.returncode == 0

    def commands(self):
        """The test programs: each GoogleTest program stops at its first failure; the Python
        binding's suite runs through CTest."""
        listed = json.loads(subprocess.run(["ctest", "--test-dir", str(self.build), "--show-only=json-v1"],
                                           check=True, capture_output=True, text=True).stdout)
        commands = [[str(self.build / target), "--gtest_fail_fast", "--gtest_brief=1"]
                    for target in self.targets if target.startswith("tests/")]
        if any(test["name"] == "python_binding" for test in listed["tests"]):
            commands.append(["ctest", "--test-dir", str(self.build), "-R", "^python_binding$"])
        return commands

    def run_tests(self, limits=None):
        """'killed', 'timed out' or 'survived'; with no limits, also the time of each program."""
        times = []
        for k, command in enumerate(self.programs):
            started = time.monotonic()
            try:
                done = subprocess.run(command, capture_output=True, cwd=self.build,
                                      timeout=None if limits is None else limits[k])
            except subprocess.TimeoutExpired:
                return "timed out", times
            times.append(time.monotonic() - started)
            if done.returncode != 0:
                return "killed", times
        return "survived", times

    def attempt(self, mutant, limits):
        source = self.tree / mutant.path
        original = source.read_text(encoding="utf-8")
        lines = original.split("\n")
        line = lines[mutant.line - 1]
        lines[mutant.line - 1] = line[:mutant.start] + mutant.replacement + line[mutant.end:]
        source.write_text("\n".join(lines), encoding="utf-8")
        try:
            if not self.rebuild():
                return "did not build"
            return self.run_tests(limits)[0]
        finally:
            source.write_text(original, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=2026, help="picks the sample (default 2026)")
    parser.add_argument("--count", type=int, default=200, help="mutants in the sample (default 200)")
    parser.add_argument("--revision", help="test this commit instead of the working tree")
    parser.add_argument("--workers", type=int, default=2, help="scratch trees tried side by side")
    parser.add_argument("--scratch", default=str(ROOT / "build-mutants"), help="where the copies go")
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--report", help="also write the outcome of every mutant to this JSON file")
    options = parser.parse_args()

    scratch = Path(options.scratch)
    os.environ.setdefault("CCACHE_DIR", str(scratch / "ccache"))
    first = scratch / "tree0"
    copy_tree(first, options.revision)
    mutants, total = sample(first, options.seed, options.count)
    print(f"{len(mutants)} mutants sampled from {total} candidates (seed {options.seed})", flush=True)
    if options.list:
        for mutant in mutants:
            print(f"  {mutant.where()}: {mutant.description}")
        return 0

    workers = [Worker(first)]
    for k in range(1, options.workers):
        # A tree left by an interrupted run is replaced, as tree0 is.
        shutil.rmtree(scratch / f"tree{k}", ignore_errors=True)
        shutil.copytree(first, scratch / f"tree{k}")
        workers.append(Worker(scratch / f"tree{k}"))
    for worker in workers:
        worker.configure()
        if not worker.rebuild():
            sys.exit("the unmutated tree does not build")
        worker.programs = worker.commands()
    outcome, times = workers[0].run_tests()
    if outcome != "survived":
        sys.exit("the unmutated tree fails its tests")
    # A program more than three times as slow as unmutated is taken to hang.
    limits = [3 * t + 10 for t in times]
    print(f"test programs: {len(times)}, {sum(times):.1f} s unmutated", flush=True)

    # Mutants of one file stay on one worker, so that a file is rebuilt once per mutant.
    groups = {}
    for mutant in mutants:
        groups.setdefault(mutant.path, []).append(mutant)
    shares = [[] for _ in workers]
    for k, path in enumerate(sorted(groups, key=lambda p: -len(groups[p]))):
        min(shares, key=len).extend(groups[path])
    results = {}
    started = time.monotonic()

    def work(k):
        for mutant in shares[k]:
            results[id(mutant)] = workers[k].attempt(mutant, limits)
            print(f"  [{len(results)}/{len(mutants)}] {mutant.where()}: {mutant.description}: "
                  f"{results[id(mutant)]}", flush=True)
        workers[k].rebuild()

    with ThreadPoolExecutor(len(workers)) as pool:
        list(pool.map(work, range(len(workers))))

    counts = {name: 0 for name in ("killed", "timed out", "survived", "did not build")}
    for mutant in mutants:
        counts[results[id(mutant)]] += 1
    scored = counts["killed"] + counts["timed out"] + counts["survived"]
    score = 100.0 * (counts["killed"] + counts["timed out"]) / scored if scored else 0.0
    print(f"\nseed {options.seed}, {len(mutants)} mutants, {time.monotonic() - started:.0f} s")
    print(", ".join(f"{name}: {number}" for name, number in counts.items()))
    print(f"score: {score:.1f} % of the mutants that built were caught")
    survivors = [m for m in mutants if results[id(m)] == "survived"]
    if survivors:
        print("survivors:")
        for mutant in survivors:
            print(f"  {mutant.where()}: {mutant.description}")
    if options.report:
        Path(options.report).write_text(json.dumps(
            [{"where": m.where(), "mutation": m.description, "outcome": results[id(m)]} for m in mutants],
            indent=1) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
