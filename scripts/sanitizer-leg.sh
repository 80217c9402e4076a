#!/usr/bin/env bash
# Builds and runs the whole suite under AddressSanitizer (leak detection on) and
# UndefinedBehaviorSanitizer, then the tests that run threads under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMOIDL_SANITIZE=ON > /dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMOIDL_TSAN=ON > /dev/null
cmake --build build-tsan --target unit_tests host_tests reliability_tests
filter='*Concurrent*:*Thread*:*Lock*:*Release*'
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/unit_tests --gtest_filter="$filter" --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/host_tests --gtest_filter="$filter" --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/reliability_tests --gtest_filter="$filter" --gtest_brief=1
