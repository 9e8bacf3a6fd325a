#!/usr/bin/env bash
# The whole test suite, as CI runs it: installs the Debian packages that are missing, then
# runs three CMake workflows, one build tree each: clang++ with the sanitizers (the unit,
# X11 and print tests and the fuzz target); g++ for its warnings, with the Windows branches
# compiled by MinGW-w64 and the benchmark built so that neither rots, and the unit tests;
# the release build with its Debian packages and their test. Every workflow runs, even after
# one fails; the last line counts the tests of all of them.
# With --windows, also Qt for Windows (built once into ~/.cache/tolvane, about 40 minutes the
# first time) and the ci-windows workflow: the Windows programs, their installer and zip, and
# their tests under Wine.
source "$(dirname "$0")/common.sh"

install_missing build display test benchbuild
cd "$repo"
declare -A tree=([ci-clang]=build-ci-clang [ci-gcc]=build-ci-gcc [ci-release]=build-release
                 [ci-windows]=build-ci-windows)
workflows=(ci-clang ci-gcc ci-release)
if [ "${1:-}" = --windows ]; then
    install_missing windows
    TOLVANE_QT_WINDOWS=$(bash tools/build-qt-windows.sh | tail -n 1)
    export TOLVANE_QT_WINDOWS
    workflows+=(ci-windows)
fi
passed=0 failed=0 skipped=0
for workflow in "${workflows[@]}"; do
    junit="${tree[$workflow]}/junit.xml"
    rm -f "$junit"
    cmake --workflow --preset "$workflow" || true
    if [ ! -f "$junit" ]; then # it failed before its tests ran
        echo "$workflow failed before its tests ran"
        failed=$((failed + 1))
        continue
    fi
    # Each test's status, the starts and stops of the virtual display and of Wine aside.
    while read -r state; do
        case $state in
        run) passed=$((passed + 1)) ;;
        fail) failed=$((failed + 1)) ;;
        *) skipped=$((skipped + 1)) ;;
        esac
    done < <(grep -o '<testcase name="[^"]*"[^>]*status="[^"]*"' "$junit" \
        | grep -vE 'name="(xdisplay|wine)_' | sed 's/.*status="\([^"]*\)"/\1/')
done
echo "$passed passed, $failed failed, $skipped skipped in ${#workflows[@]} workflows"
[ "$failed" -eq 0 ]
