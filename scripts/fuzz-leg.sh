#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it for a bounded time (FUZZ_SECONDS, default
# 60) on the seed corpus; any crash, leak or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
if ! command -v clang++ > /dev/null 2>&1; then
  echo "Fuzz leg skipped: clang is not installed."
  exit 0
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DLUMOIDL_FUZZ=ON -DLUMOIDL_BUILD_TESTS=OFF > /dev/null
cmake --build build-fuzz --target idl_fuzzer
# The corpus grows in a scratch copy, so the committed seeds stay as they are.
work="build-fuzz/corpus"
mkdir -p "$work"
cp -n fuzz/corpus/* "$work"/
ASAN_OPTIONS=detect_leaks=1 build-fuzz/idl_fuzzer "$work" -dict=fuzz/idl.dict -max_total_time="$seconds" \
  -max_len=65536 -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix=build-fuzz/
