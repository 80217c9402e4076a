#!/usr/bin/env bash
# Installs the build into a scratch prefix, then checks what a user gets there: the library's soname
# links, the documentation, the minimal C host built through the CMake package and through
# pkg-config, a C++ host on the host kit (LumoIDL::host), the installed tool, and the Python package
# pip-installed into a virtual environment, finding the installed library.
set -euo pipefail
build="$1" source_dir="$2" python="$3" scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "$*"; exit 1; }
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
version="$(sed -n 's/^project(lumoidl VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")"
[ "$(readlink "$prefix/lib/liblumoidl.so")" = "liblumoidl.so.${version%%.*}" ] || fail "no soname link"
[ "$(readlink "$prefix/lib/liblumoidl.so.${version%%.*}")" = "liblumoidl.so.$version" ] || fail "no versioned file"
for doc in README.md LICENSE NOTICE CHANGELOG.md docs/json.md docs/lumoidl.schema.json examples/1-core.idl; do
  [ -f "$prefix/share/doc/lumoidl/$doc" ] || fail "share/doc/lumoidl/$doc is not installed"
done

host="$source_dir/examples/host/minimal_host.c"
cmake -S "$source_dir/tests/package" -B "$scratch/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DEXAMPLE_HOST="$host" > /dev/null
cmake --build "$scratch/cmake" > /dev/null
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# shellcheck disable=SC2046
cc -std=c11 -o "$scratch/pkg-config-host" "$host" $(pkg-config --cflags --libs lumoidl)
export LD_LIBRARY_PATH="$prefix/lib"
for program in "$scratch/cmake/minimal_host" "$scratch/pkg-config-host"; do
  out="$("$program" "$source_dir"/examples/*.idl)"
  [ "$out" = "3 libraries, 6 interfaces" ] || fail "$program printed: $out"
done
out="$("$scratch/cmake/kit_host" "$source_dir"/examples/*.idl)"
[ "$out" = "ZEMRA Geometry Drawing 103 1 Result code 103" ] || fail "the host kit's host printed: $out"
out="$("$prefix/bin/lumoidl" --version)"
[ "$out" = "lumoidl $version" ] || fail "installed tool printed: $out"

# pip builds in the folder it is given: a copy of the package beside the CMakeLists.txt it takes
# its version from keeps the source tree clean.
mkdir "$scratch/source"
cp -r "$source_dir/python" "$source_dir/CMakeLists.txt" "$scratch/source"
"$python" -m venv --system-site-packages "$scratch/venv"
"$scratch/venv/bin/python" -m pip install --quiet --no-index --no-build-isolation "$scratch/source/python"
cd "$scratch"
check='import lumoidl; print(lumoidl.__version__, len(lumoidl.parse(sys.argv[1:]).libraries))'
out="$("$scratch/venv/bin/python" -c "import sys; $check" "$source_dir"/examples/*.idl)"
[ "$out" = "$version 3" ] || fail "the pip-installed package printed: $out"
out="$(LD_LIBRARY_PATH= "$scratch/venv/bin/python" -c "import sys; $check" 2>&1)" && fail "found a library: $out"
[[ "$out" == *"LibraryNotFoundError: the lumoidl library was not found; looked for it in:"* ]] || fail "$out"
