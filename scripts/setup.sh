#!/usr/bin/env bash
# Checks that the tools of a build are there and installs what is missing; safe to run again.
#
#   scripts/setup.sh demo   what `make demo` needs: a C++ compiler, CMake, Ninja, byacc, nlohmann-json
#   scripts/setup.sh        (full) everything `make test` runs: also GoogleTest, Google Benchmark,
#                           clang's fuzzer, binutils, pkg-config and Python with venv, setuptools,
#                           jsonschema and mypy, and Neovim (the language server's test client);
#                           the Windows cross toolchain, Wine, Graphviz, ccache, valgrind and npm
#                           (which fetches the editor grammar's checker) are wanted but never required
#
# It looks for commands and files, not packages, so it works on any system. Where apt-get exists
# it installs what is missing; elsewhere it lists what is missing and the Debian package that has
# it. It exits with 1 only when a required tool is still missing.
set -uo pipefail
mode="${1:-full}"
case "$mode" in demo | full) ;; *) echo "usage: scripts/setup.sh [demo|full]" >&2; exit 2 ;; esac

# The Python the tests run: Debian's own, whose modules apt-get installs, where there is one.
python=python3
if [ -x /usr/bin/python3 ]; then python=/usr/bin/python3; fi

has() { command -v "$1" > /dev/null 2>&1; }
header() { for dir in /usr/include /usr/local/include ${CPATH:+${CPATH//:/ }}; do [ -f "$dir/$1" ] && return 0; done; return 1; }
module() { "$python" -c "import $1" > /dev/null 2>&1; }
fuzzer() { has clang && [ -f "$(clang --print-runtime-dir 2> /dev/null)/libclang_rt.fuzzer-x86_64.a" ]; }
wine() { has wine64 || [ -x /usr/lib/wine/wine64 ]; }

# Each line: level, the Debian package, the check that passes when the tool is there.
checks=(
  "demo g++ has c++"
  "demo cmake has cmake"
  "demo ninja-build has ninja"
  "demo byacc has byacc"
  "demo nlohmann-json3-dev header nlohmann/json.hpp"
  "full make has make"
  "full binutils has objdump"
  "full pkg-config has pkg-config"
  "full libgtest-dev header gtest/gtest.h"
  "full libbenchmark-dev header benchmark/benchmark.h"
  "full clang has clang"
  "full libclang-rt-14-dev fuzzer"
  "full python3 has $python"
  "full python3-venv module ensurepip"
  "full python3-setuptools module setuptools"
  "full python3-jsonschema module jsonschema"
  "full mypy has mypy"
  "full neovim has nvim"
  "optional mingw-w64 has x86_64-w64-mingw32-g++-posix"
  "optional binutils-mingw-w64-x86-64 has x86_64-w64-mingw32-windres"
  "optional mingw-w64-tools has x86_64-w64-mingw32-widl"
  "optional wine64 wine"
  "optional graphviz has dot"
  "optional ccache has ccache"
  "optional valgrind has valgrind"
  "optional npm has npm"
)

# Prints "level package check" for every check of this mode that fails.
missing() {
  local level package test
  for line in "${checks[@]}"; do
    read -r level package test <<< "$line"
    if [ "$mode" = demo ] && [ "$level" != demo ]; then continue; fi
    eval "$test" || echo "$level $package $test"
  done
}

mapfile -t absent < <(missing)
if [ ${#absent[@]} -gt 0 ] && has apt-get; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  required=() optional=()
  for entry in "${absent[@]}"; do
    read -r level package _ <<< "$entry"
    if [ "$level" = optional ]; then optional+=("$package"); else required+=("$package"); fi
  done
  "${sudo_cmd[@]}" apt-get update -qq
  if [ ${#required[@]} -gt 0 ]; then
    echo "setup: installing ${required[*]}"
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${required[@]}"
  fi
  if [ ${#optional[@]} -gt 0 ]; then
    echo "setup: installing ${optional[*]}"
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${optional[@]}" ||
      echo "setup: could not install ${optional[*]}; the Windows leg, the drawn graph, the instruction counts or the grammar check may be skipped"
  fi
  mapfile -t absent < <(missing)
fi

status=0
if [ ${#absent[@]} -gt 0 ] && ! has apt-get; then
  echo "setup: no apt-get here: install the missing tools below with your system's package manager"
fi
for entry in "${absent[@]}"; do
  read -r level package test <<< "$entry"
  echo "setup: missing ($([ "$level" = optional ] && echo optional || echo required)): $test (Debian's package $package)"
  if [ "$level" != optional ]; then status=1; fi
done
exit $status
