#!/usr/bin/env bash
# Installs the build into a scratch prefix, then builds and runs the minimal C host against it, once
# through the CMake package and once through pkg-config, and runs the installed tool.
set -euo pipefail
build="$1" source_dir="$2" scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
host="$source_dir/examples/host/minimal_host.c"
cmake -S "$source_dir/tests/package" -B "$scratch/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$scratch/prefix" \
  -DEXAMPLE_HOST="$host" > /dev/null
cmake --build "$scratch/cmake" > /dev/null
export PKG_CONFIG_PATH="$scratch/prefix/lib/pkgconfig"
# shellcheck disable=SC2046
cc -std=c11 -o "$scratch/pkg-config-host" "$host" $(pkg-config --cflags --libs lumoidl)
for program in "$scratch/cmake/minimal_host" "$scratch/pkg-config-host"; do
  out="$(LD_LIBRARY_PATH="$scratch/prefix/lib" "$program" "$source_dir"/examples/*.idl)"
  [ "$out" = "3 libraries, 6 interfaces" ] || { echo "$program printed: $out"; exit 1; }
done
out="$("$scratch/prefix/bin/lumoidl" --version)"
[ "$out" = "lumoidl 0.1.0" ] || { echo "installed tool printed: $out"; exit 1; }
