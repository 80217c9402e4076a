#!/usr/bin/env bash
# Installs, through apt-get, whatever of the build and test tools is missing; safe to run again.
# The Windows cross toolchain, Wine, Graphviz, ccache (which speeds up make mutants) and valgrind
# (instruction counts in make bench) are wanted too, but a machine that cannot install them still
# builds and tests the Linux library.
set -euo pipefail

required=(cmake ninja-build g++ make byacc binutils pkg-config libgtest-dev libbenchmark-dev nlohmann-json3-dev
          clang libclang-rt-14-dev python3)
optional=(mingw-w64 mingw-w64-tools wine64 graphviz ccache valgrind)

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
updated=no
install() {
  if [ "$updated" = no ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    updated=yes
  fi
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "$@"
}

mapfile -t missing < <(missing_of "${required[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  install "${missing[@]}"
fi

mapfile -t missing < <(missing_of "${optional[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  install "${missing[@]}" || echo "setup: could not install ${missing[*]}; the Windows leg, the drawn graph or the instruction counts may be skipped"
fi
exit 0
