#!/usr/bin/env bash
# Installs the build into a scratch prefix, then builds and runs the minimal C host against it,
# once through the CMake package and once through pkg-config.
set -euo pipefail
build="$1"
source_dir="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
examples=("$source_dir"/examples/*.idl)

cmake -S "$source_dir/tests/package" -B "$scratch/cmake-host" -G Ninja \
  -DCMAKE_PREFIX_PATH="$scratch/prefix" -DEXAMPLE_HOST="$source_dir/examples/host/minimal_host.c" > /dev/null
cmake --build "$scratch/cmake-host" > /dev/null
out="$(LD_LIBRARY_PATH="$scratch/prefix/lib" "$scratch/cmake-host/minimal_host" "${examples[@]}")"
[ "$out" = "3 libraries, 6 interfaces" ] || { echo "CMake-built host printed: $out"; exit 1; }

export PKG_CONFIG_PATH="$scratch/prefix/lib/pkgconfig"
# shellcheck disable=SC2046
cc -std=c11 -o "$scratch/pc-host" "$source_dir/examples/host/minimal_host.c" $(pkg-config --cflags --libs lumoidl)
out="$(LD_LIBRARY_PATH="$scratch/prefix/lib" "$scratch/pc-host" "${examples[@]}")"
[ "$out" = "3 libraries, 6 interfaces" ] || { echo "pkg-config-built host printed: $out"; exit 1; }

out="$("$scratch/prefix/bin/lumoidl" --version)"
[ "$out" = "lumoidl 0.1.0" ] || { echo "installed tool printed: $out"; exit 1; }
echo "package: CMake and pkg-config hosts and the installed tool work"
