# Validates the tool's JSON output against docs/lumoidl.schema.json: on the examples, on standard
# input, on a failure, and on small generated corpora of every shape; and shows that the schema
# rejects a document that lacks a required member.
import copy
import json
import os
import subprocess
import sys
import tempfile

import jsonschema

tool, source = sys.argv[1], sys.argv[2]
examples = os.path.join(source, "examples")
with open(os.path.join(source, "docs", "lumoidl.schema.json"), encoding="utf-8") as schema_file:
    validator = jsonschema.Draft202012Validator(json.load(schema_file))
checks = failures = 0


def check(name, arguments, status, files=None, stdin=None):
    """Runs the tool with --format json and validates what it wrote; `files` are the libraries' files."""
    global checks, failures
    checks += 1
    run = subprocess.run([tool, "--format", "json", *arguments], capture_output=True, stdin=stdin)
    document = json.loads(run.stdout)
    problems = [error.message for error in validator.iter_errors(document)]
    if run.returncode != status:
        problems.append(f"exit status {run.returncode}, expected {status}")
    if files is not None and [library["file"] for library in document["libraries"]] != files:
        problems.append(f"library files {[library['file'] for library in document['libraries']]}")
    for problem in problems[:5]:
        print(f"{name}: {problem}")
    failures += bool(problems)
    return document


sources = sorted(os.path.join(examples, name) for name in os.listdir(examples) if name.endswith(".idl"))
document = check("examples", sources, 0, sources)
check("examples, sorted", ["--sort", *sources], 0, sources)
with open(sources[0], "rb") as first:
    check("standard input", ["-", *sources[1:]], 0, ["<stdin>", *sources[1:]], stdin=first)
check("failure", [os.path.join(examples, "broken", "shapes.idl")], 1)
for shape in ("libraries", "one-library", "many-small", "deep"):
    with tempfile.TemporaryDirectory() as corpus:
        subprocess.run([sys.executable, os.path.join(source, "bench", "gen_corpus.py"), "--megabytes", "0.05",
                        "--shape", shape, "--out", corpus], check=True, capture_output=True)
        with open(os.path.join(corpus, "manifest.json"), encoding="ascii") as manifest:
            files = [os.path.join(corpus, name) for name in json.load(manifest)["files"]]
        check(f"corpus {shape}", files, 0, files)

checks += 1
unfiled = copy.deepcopy(document)
del unfiled["libraries"][0]["file"]
if validator.is_valid(unfiled):
    print("the schema accepts a library without its file")
    failures += 1
print(f"{checks - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
