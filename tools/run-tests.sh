#!/usr/bin/env bash
# Builds Tolvane and runs the whole test suite.
source "$(dirname "$0")/common.sh"

install_missing "${build_packages[@]}" "${test_packages[@]}"
build dev
cd "$repo"
ctest --preset dev
