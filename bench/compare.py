#!/usr/bin/env python3
"""Times lumoidl and the widl peer on the same generated declarations, side by side.

For each size it generates the corpus (once; kept under --corpus-dir), runs bench/throughput
on the IDL files and x86_64-w64-mingw32-widl -N -h on the MIDL-syntax twin of the same
declarations, and prints one table: time, speed, peak memory, the peer's figures and the
ratio of the peer's time to lumoidl's. --markdown prints the table for bench/RESULTS.md.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PEER = "x86_64-w64-mingw32-widl"


def ensure_corpus(directory, megabytes, seed):
    manifest = os.path.join(directory, "manifest.json")
    if os.path.exists(manifest):
        with open(manifest, encoding="ascii") as handle:
            made = json.load(handle)
        if made.get("seed") == seed and made.get("megabytes") == megabytes:
            return made
        shutil.rmtree(directory)
    subprocess.run([sys.executable, os.path.join(HERE, "gen_corpus.py"), "--megabytes", str(megabytes),
                    "--seed", str(seed), "--out", directory], check=True)
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-bench", help="build folder holding bench/throughput")
    parser.add_argument("--corpus-dir", default=None, help="where corpora are kept (default BUILD/corpus)")
    parser.add_argument("--sizes", default="1,4,16,64", help="corpus sizes in MB, comma-separated")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--runs", type=int, default=7, help="timed lumoidl runs per size (median)")
    parser.add_argument("--peer-runs", type=int, default=3, help="timed peer runs per size (median)")
    parser.add_argument("--markdown", action="store_true", help="print a Markdown table")
    args = parser.parse_args()

    sizes = [float(size) for size in args.sizes.split(",")]
    corpus_dir = args.corpus_dir or os.path.join(args.build, "corpus")
    directories, manifests = [], []
    for size in sizes:
        directory = os.path.join(corpus_dir, f"{size:g}mb-seed{args.seed}")
        manifests.append(ensure_corpus(directory, size, args.seed))
        directories.append(directory)

    ours = run_throughput(os.path.join(args.build, "bench", "throughput"), directories, args.runs)
    have_peer = shutil.which(PEER) is not None
    if not have_peer:
        print(f"compare: {PEER} is not installed (Debian package mingw-w64-tools); lumoidl only", file=sys.stderr)

    columns = ["MB", "files", "declarations", "lumoidl s", "MB/s", "decl/s", "s per MB vs first", "peak MB",
               "peak / input"]
    if have_peer:
        columns += ["widl s", "widl MB/s", "widl peak MB", "widl s / lumoidl s"]
    rows = []
    first_per_mb = None
    for size, directory, manifest, mine in zip(sizes, directories, manifests, ours):
        megabytes = manifest["bytes"] / 2**20
        per_mb = mine["seconds"] / megabytes
        first_per_mb = first_per_mb or per_mb
        row = [f"{megabytes:.2f}", str(len(manifest["files"])), str(sum(manifest["declarations"].values())),
               f"{mine['seconds']:.4f}", f"{mine['mb_per_s']:.1f}", f"{mine['decl_per_s']:,.0f}",
               f"{per_mb / first_per_mb:.2f}", f"{mine['peak_mb']:.1f}", f"{mine['peak_ratio']:.2f}"]
        if have_peer:
            peer_seconds, peer_peak = run_peer(os.path.join(directory, "peer.idl"), args.peer_runs)
            row += [f"{peer_seconds:.3f}", f"{manifest['peer_bytes'] / 2**20 / peer_seconds:.1f}",
                    f"{peer_peak:.1f}", f"{peer_seconds / mine['seconds']:.1f}"]
        rows.append(row)
        print(f"compare: {size:g} MB done", file=sys.stderr, flush=True)

    if args.markdown:
        print("| " + " | ".join(columns) + " |")
        print("|" + "---|" * len(columns))
        for row in rows:
            print("| " + " | ".join(row) + " |")
        return
    widths = [max(len(column), *(len(row[i]) for row in rows)) for i, column in enumerate(columns)]
    for line in [columns] + rows:
        print("  ".join(text.rjust(width) for text, width in zip(line, widths)))


if __name__ == "__main__":
    main()
