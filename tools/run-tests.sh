#!/usr/bin/env bash
# Builds Tolvane and runs the whole test suite.
source "$(dirname "$0")/common.sh"

install_missing "${build_packages[@]}" "${test_packages[@]}"
build dev
# The same sources must build without a warning under clang++ too.
build clang
cd "$repo"
ctest --preset dev
