#!/usr/bin/env bash
# The whole test suite, as CI runs it: installs the Debian packages that are missing, then
# runs three CMake workflows, one build tree each: clang++ with the sanitizers (the unit,
# X11 and print tests and the fuzz target); g++ for its warnings, with the Windows branches
# compiled by MinGW-w64 and the benchmark built so that neither rots, and the unit tests;
# the release build with its Debian packages and their test.
source "$(dirname "$0")/common.sh"

install_missing build display test benchbuild
cd "$repo"
for workflow in ci-clang ci-gcc ci-release; do
    cmake --workflow --preset "$workflow"
done
