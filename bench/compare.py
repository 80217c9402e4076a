#!/usr/bin/env python3
"""Times lumoidl and the widl peer on the same generated declarations, side by side.

For each corpus shape and size it generates the corpus (once; kept under --corpus-dir), runs
bench/throughput on the IDL files and x86_64-w64-mingw32-widl -N -h on the MIDL-syntax twin of
the same declarations, and prints one table per shape: time, speed, instructions per input byte,
peak memory, the peer's figures and the ratio of the peer's time to lumoidl's. --markdown prints
the tables for bench/RESULTS.md. --best-of N times both tools in N rounds over every corpus and
keeps the fastest of each, which a machine with other load on it disturbs least (a peer run over
20 s is not repeated).

Instructions per input byte come from callgrind, counting inside LumoIDLParse only (releasing
a result is left out, as in the timed figure): bench/throughput --calls runs once with one call
and once with two on the same corpus, and the difference of the two counts, divided by the
corpus's bytes, is the cost of a call after the first (what the first call sets up once cancels
out). Callgrind runs about 50 times slower than the program, so only corpora up to
--count-up-to megabytes are counted.
"""

import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PEER = "x86_64-w64-mingw32-widl"
SHAPES = ["libraries", "one-library", "many-small", "deep"]


def ensure_corpus(directory, shape, megabytes, seed):
    manifest = os.path.join(directory, "manifest.json")
    if os.path.exists(manifest):
        with open(manifest, encoding="ascii") as handle:
            made = json.load(handle)
        if (made.get("shape"), made.get("seed"), made.get("megabytes")) == (shape, seed, megabytes):
            return made
        shutil.rmtree(directory)
    subprocess.run([sys.executable, os.path.join(HERE, "gen_corpus.py"), "--shape", shape,
                    "--megabytes", str(megabytes), "--seed", str(seed), "--out", directory], check=True)
    with open(manifest, encoding="ascii") as handle:
        return json.load(handle)


def run_throughput(program, directories, runs):
    """One line per corpus: megabytes, files, declarations, seconds, MB/s, decl/s, peak MB, ratio."""
    output = subprocess.run([program, "--runs", str(runs)] + directories, check=True, capture_output=True,
                            text=True).stdout
    rows = []
    for line in output.strip().splitlines():
        fields = line.split("\t")
        rows.append({"seconds": float(fields[3]), "mb_per_s": float(fields[4]), "decl_per_s": float(fields[5]),
                     "peak_mb": float(fields[6]), "peak_ratio": float(fields[7])})
    return rows


def instructions(program, directory, calls):
    """Instructions executed by `program --calls CALLS DIRECTORY`, counted by callgrind."""
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                             "--toggle-collect=LumoIDLParse", program,
                             "--calls", str(calls), directory], check=True, capture_output=True, text=True)
    return int(re.search(r"Collected : (\d+)", result.stderr).group(1))


def instructions_per_byte(program, directory, manifest):
    """Instructions of one call per input byte: two calls less one call."""
    return (instructions(program, directory, 2) - instructions(program, directory, 1)) / manifest["bytes"]


# A first peer run longer than this is taken as the only measurement: the large corpora take
# the peer minutes each.
LONG_RUN_SECONDS = 20.0


def run_peer(twin, runs):
    """Median wall time and largest peak resident set (MB) of `runs` peer runs after a warm-up."""
    header = twin[:-len(".idl")] + ".h"
    times, peaks = [], []
    for run in range(runs + 1):
        start = time.perf_counter()
        process = subprocess.Popen([PEER, "-N", "-h", "-o", header, twin], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE)
        _, status, usage = os.wait4(process.pid, 0)
        elapsed = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"compare: {PEER} failed on {twin}: {process.stderr.read().decode(errors='replace')}")
        process.stderr.close()
        if run or elapsed > LONG_RUN_SECONDS:  # a short first run only warms the file cache
            times.append(elapsed)
            peaks.append(usage.ru_maxrss / 1024.0)
        if elapsed > LONG_RUN_SECONDS:
            break
    return statistics.median(times), max(peaks)


def shape_sizes(options):
    """The sizes of every shape: a bare list in --sizes is for every shape, SHAPE=LIST for one."""
    sizes = dict.fromkeys(SHAPES, [1.0, 4.0])
    for option in options:
        shape, _, listed = option.rpartition("=")
        if shape and shape not in SHAPES:
            sys.exit(f"compare: unknown shape {shape} in --sizes")
        for name in [shape] if shape else SHAPES:
            sizes[name] = [float(size) for size in listed.split(",")]
    return sizes


def counting_builds(args):
    """The build folders whose instructions are counted, or none without valgrind."""
    if shutil.which("valgrind") is None:
        print("compare: valgrind is not installed; no instruction counts", file=sys.stderr)
        return []
    return [args.build] + args.count_also


def shape_corpora(args, shape, sizes):
    """The directories and manifests of one shape's corpora, generated where missing."""
    corpus_dir = args.corpus_dir or os.path.join(args.build, "corpus")
    directories, manifests = [], []
    for size in sizes:
        directory = os.path.join(corpus_dir, f"{shape}-{size:g}mb-seed{args.seed}")
        manifests.append(ensure_corpus(directory, shape, size, args.seed))
        directories.append(directory)
    return directories, manifests


def fastest_runs(args, corpora, have_peer):
    """Per shape, lumoidl's fastest row and widl's fastest (seconds, peak) for each corpus.

    On a machine whose load comes and goes, the fastest of several runs is the figure least
    disturbed by it. The rounds go over every shape in turn, so that each corpus's runs are
    spread over the whole measurement rather than caught together in one loud minute. Each of
    lumoidl's runs is itself the median of --runs calls; a peer run over LONG_RUN_SECONDS is not
    repeated."""
    program = os.path.join(args.build, "bench", "throughput")
    ours = {shape: [] for shape in corpora}
    peers = {shape: [[] for _ in directories] for shape, (directories, _) in corpora.items()}
    for _ in range(args.best_of):
        for shape, (directories, _) in corpora.items():
            ours[shape].append(run_throughput(program, directories, args.runs))
            for directory, runs in zip(directories, peers[shape]) if have_peer else []:
                if not (runs and runs[0][0] > LONG_RUN_SECONDS):
                    runs.append(run_peer(os.path.join(directory, "peer.idl"), args.peer_runs))
        print("compare: a round of timings done", file=sys.stderr, flush=True)
    fastest_ours = {shape: [min(column, key=lambda row: row["seconds"]) for column in zip(*rounds)]
                    for shape, rounds in ours.items()}
    fastest_peers = {shape: [(min(run[0] for run in runs), max(run[1] for run in runs)) if runs else None
                             for runs in per_corpus] for shape, per_corpus in peers.items()}
    return fastest_ours, fastest_peers


def shape_table(args, shape, sizes, corpus, ours, peers, counted):
    """The columns and rows of one shape's table."""
    directories, manifests = corpus
    columns = ["MB", "files", "declarations", "lumoidl s", "MB/s", "decl/s", "s per MB vs first"]
    columns += ["instr / byte" + ("" if build == args.build else f" ({build})") for build in counted]
    columns += ["peak MB", "peak / input"]
    if peers[0]:
        columns += ["widl s", "widl MB/s", "widl peak MB", "widl s / lumoidl s"]
    rows = []
    first_per_mb = None
    for size, directory, manifest, mine, peer in zip(sizes, directories, manifests, ours, peers):
        megabytes = manifest["bytes"] / 2**20
        per_mb = mine["seconds"] / megabytes
        first_per_mb = first_per_mb or per_mb
        row = [f"{megabytes:.2f}", str(len(manifest["files"])), str(sum(manifest["declarations"].values())),
               f"{mine['seconds']:.4f}", f"{mine['mb_per_s']:.1f}", f"{mine['decl_per_s']:,.0f}",
               f"{per_mb / first_per_mb:.2f}"]
        for build in counted:
            program = os.path.join(build, "bench", "throughput")
            row.append(f"{instructions_per_byte(program, directory, manifest):.1f}" if size <= args.count_up_to
                       else "-")
        row += [f"{mine['peak_mb']:.1f}", f"{mine['peak_ratio']:.2f}"]
        if peer:
            peer_seconds, peer_peak = peer
            row += [f"{peer_seconds:.3f}", f"{manifest['peer_bytes'] / 2**20 / peer_seconds:.1f}",
                    f"{peer_peak:.1f}", f"{peer_seconds / mine['seconds']:.1f}"]
        rows.append(row)
        print(f"compare: {shape} {size:g} MB done", file=sys.stderr, flush=True)
    return columns, rows


def print_table(shape, columns, rows, markdown):
    if markdown:
        print(f"### {shape}\n")
        print("| " + " | ".join(columns) + " |")
        print("|" + "---|" * len(columns))
        for row in rows:
            print("| " + " | ".join(row) + " |")
        print()
        return
    print(f"{shape}:")
    widths = [max(len(column), *(len(row[i]) for row in rows)) for i, column in enumerate(columns)]
    for line in [columns] + rows:
        print("  ".join(text.rjust(width) for text, width in zip(line, widths)))
    print()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-bench", help="build folder holding bench/throughput")
    parser.add_argument("--corpus-dir", default=None, help="where corpora are kept (default BUILD/corpus)")
    parser.add_argument("--shapes", default=",".join(SHAPES), help="corpus shapes, comma-separated (default all)")
    parser.add_argument("--sizes", action="append", default=[],
                        help="corpus sizes in MB, comma-separated (default 1,4), for every shape, or "
                             "SHAPE=SIZES for one shape; may be repeated")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--runs", type=int, default=7, help="timed lumoidl runs per size (median)")
    parser.add_argument("--peer-runs", type=int, default=3, help="timed peer runs per size (median)")
    parser.add_argument("--best-of", type=int, default=1,
                        help="repeat both tools' timings this many times and keep the fastest (default 1)")
    parser.add_argument("--count-up-to", type=float, default=4.0,
                        help="largest corpus (MB) whose instructions are counted")
    parser.add_argument("--count-also", action="append", default=[], metavar="BUILD",
                        help="another build folder whose bench/throughput's instructions are counted too")
    parser.add_argument("--markdown", action="store_true", help="print Markdown tables")
    args = parser.parse_args()

    shapes = args.shapes.split(",")
    unknown = set(shapes) - set(SHAPES)
    if unknown:
        sys.exit(f"compare: unknown shapes {', '.join(sorted(unknown))}; known: {', '.join(SHAPES)}")
    sizes = shape_sizes(args.sizes)
    counted = counting_builds(args)
    have_peer = shutil.which(PEER) is not None
    if not have_peer:
        print(f"compare: {PEER} is not installed (Debian package mingw-w64-tools); lumoidl only", file=sys.stderr)
    corpora = {shape: shape_corpora(args, shape, sizes[shape]) for shape in shapes}
    ours, peers = fastest_runs(args, corpora, have_peer)
    for shape in shapes:
        columns, rows = shape_table(args, shape, sizes[shape], corpora[shape], ours[shape], peers[shape], counted)
        print_table(shape, columns, rows, args.markdown)


if __name__ == "__main__":
    main()
