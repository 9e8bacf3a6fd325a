#!/usr/bin/env bash
# Builds Tolvane and runs the whole test suite: the tests of the debug build, the same tests
# under the address and undefined-behaviour sanitizers, a clang++ build, a bounded run of
# every fuzz target (FUZZ_SECONDS each, 45 by default), and the Debian package installed,
# started and removed.
source "$(dirname "$0")/common.sh"

install_missing "${build_packages[@]}" "${test_packages[@]}"
build dev
build clang # the same sources build without a warning under clang++ too
build asan
build release
(cd "$repo/build-release" && cpack >/dev/null)
bash "$repo/tools/fuzz.sh" "${FUZZ_SECONDS:-45}"
bash "$repo/tests/deb-install.sh" "$repo/build-release/tolvane_"*.deb "$repo/examples/tribes" \
    || [ $? -eq 77 ]
cd "$repo"
ctest --preset asan
ctest --preset dev
