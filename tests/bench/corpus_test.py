"""The benchmark corpus generator: its files pass the lumoidl tool, its manifest counts what the tool
reports, and a seed always gives the same files."""
import filecmp
import json
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOL = os.environ.get("LUMOIDL_TOOL", os.path.join(ROOT, "build", "lumoidl"))


def generate(directory, seed):
    subprocess.run([sys.executable, os.path.join(ROOT, "bench", "gen_corpus.py"), "--megabytes", "0.3", "--seed",
                    str(seed), "--out", directory], check=True, capture_output=True)
    with open(os.path.join(directory, "manifest.json"), encoding="ascii") as handle:
        return json.load(handle)


class CorpusTest(unittest.TestCase):
    def test_corpus_is_valid_counted_right_and_repeatable(self):
        with tempfile.TemporaryDirectory(prefix="lumoidl-corpus-") as scratch:
            first, second = os.path.join(scratch, "a"), os.path.join(scratch, "b")
            manifest, _ = generate(first, 7), generate(second, 7)
            files = [os.path.join(first, name) for name in manifest["files"]]
            self.assertEqual(manifest["bytes"], sum(os.path.getsize(name) for name in files))
            run = subprocess.run([TOOL, "--format", "json"] + files, capture_output=True, text=True)
            self.assertEqual(run.returncode, 0, run.stderr)
            counts = dict.fromkeys(manifest["declarations"], 0)
            for library in json.loads(run.stdout)["libraries"]:
                counts["libraries"] += 1
                counts["enumerations"] += len(library["enumerations"])
                counts["items"] += sum(len(enumeration["items"]) for enumeration in library["enumerations"])
                counts["category_ids"] += len(library["categoryIDs"])
                for interface in library["interfaces"]:
                    counts["interfaces"] += 1
                    counts["template_parameters"] += len(interface["templateParameters"])
                    counts["methods"] += len(interface["methods"])
                    counts["arguments"] += sum(len(method["arguments"]) for method in interface["methods"])
            self.assertEqual(counts, manifest["declarations"])
            names = ["peer.idl", "manifest.json"] + manifest["files"]
            self.assertEqual(filecmp.cmpfiles(first, second, names, shallow=False)[1:], ([], []))


if __name__ == "__main__":
    unittest.main()
