#!/usr/bin/env bash
# Builds Tolvane and runs the whole test suite: the tests of the debug build, the same tests
# under the address and undefined-behaviour sanitizers, a clang++ build, and a bounded run
# of every fuzz target (FUZZ_SECONDS each, 45 by default).
source "$(dirname "$0")/common.sh"

install_missing "${build_packages[@]}" "${test_packages[@]}"
build dev
build clang # the same sources build without a warning under clang++ too
build asan
bash "$repo/tools/fuzz.sh" "${FUZZ_SECONDS:-45}"
cd "$repo"
ctest --preset asan
ctest --preset dev
