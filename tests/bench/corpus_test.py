"""Checks the benchmark corpus generator: its files pass the lumoidl tool, the declaration
counts of its manifest are the ones the tool reports, a seed always gives the same files, and
the widl twin is accepted by widl when widl is installed."""

import filecmp
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GENERATOR = os.path.join(ROOT, "bench", "gen_corpus.py")
TOOL = os.environ.get("LUMOIDL_TOOL", os.path.join(ROOT, "build", "lumoidl"))
PEER = "x86_64-w64-mingw32-widl"


def generate(directory, megabytes, seed):
    subprocess.run([sys.executable, GENERATOR, "--megabytes", str(megabytes), "--seed", str(seed),
                    "--out", directory], check=True, capture_output=True)
    with open(os.path.join(directory, "manifest.json"), encoding="ascii") as handle:
        return json.load(handle)


def counted(result):
    """The declarations of the tool's JSON, counted the way the manifest counts them."""
    counts = dict.fromkeys(["libraries", "interfaces", "template_parameters", "methods", "arguments",
                            "enumerations", "items", "category_ids"], 0)
    for library in result["libraries"]:
        counts["libraries"] += 1
        counts["interfaces"] += len(library["interfaces"])
        counts["enumerations"] += len(library["enumerations"])
        counts["category_ids"] += len(library["categoryIDs"])
        for iface in library["interfaces"]:
            counts["template_parameters"] += len(iface["templateParameters"])
            counts["methods"] += len(iface["methods"])
            counts["arguments"] += sum(len(method["arguments"]) for method in iface["methods"])
        counts["items"] += sum(len(enumeration["items"]) for enumeration in library["enumerations"])
    return counts


class CorpusTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="lumoidl-corpus-")

    def tearDown(self):
        shutil.rmtree(self.scratch)

    def test_corpus_is_valid_and_counted_right(self):
        for seed in (1, 7):
            directory = os.path.join(self.scratch, f"seed{seed}")
            manifest = generate(directory, 0.5, seed)
            self.assertGreater(len(manifest["files"]), 1)
            files = [os.path.join(directory, name) for name in manifest["files"]]
            self.assertEqual(manifest["bytes"], sum(os.path.getsize(name) for name in files))
            run = subprocess.run([TOOL, "--format", "json"] + files, capture_output=True, text=True)
            self.assertEqual(run.returncode, 0, run.stderr)
            self.assertEqual(counted(json.loads(run.stdout)), manifest["declarations"])

    def test_same_seed_same_files(self):
        first, second = os.path.join(self.scratch, "a"), os.path.join(self.scratch, "b")
        generate(first, 0.3, 3)
        generate(second, 0.3, 3)
        names = sorted(os.listdir(os.path.join(first, "idl")))
        self.assertEqual(names, sorted(os.listdir(os.path.join(second, "idl"))))
        match, mismatch, errors = filecmp.cmpfiles(first, second, ["peer.idl", "manifest.json"] +
                                                   [os.path.join("idl", name) for name in names], shallow=False)
        self.assertEqual((mismatch, errors), ([], []))

    @unittest.skipUnless(shutil.which(PEER), f"{PEER} is not installed")
    def test_peer_twin_is_accepted_by_widl(self):
        directory = os.path.join(self.scratch, "twin")
        generate(directory, 0.3, 5)
        run = subprocess.run([PEER, "-N", "-h", "-o", os.path.join(directory, "peer.h"),
                              os.path.join(directory, "peer.idl")], capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stderr)


if __name__ == "__main__":
    unittest.main()
