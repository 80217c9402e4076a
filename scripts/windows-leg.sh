#!/usr/bin/env bash
# Cross-builds lumoidl.dll and the test programs for Windows x86-64 and runs the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${WINDOWS_BUILD:-build-windows}"

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then
  echo "Windows leg skipped: the mingw-w64 cross compiler is not installed."
  exit 0
fi
if ! command -v wine64 >/dev/null 2>&1 && [ ! -x /usr/lib/wine/wine64 ]; then
  echo "Windows leg skipped: wine64 is not installed."
  exit 0
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure
