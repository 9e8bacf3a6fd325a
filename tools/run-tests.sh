#!/usr/bin/env bash
# The whole test suite: installs the missing Debian packages, then runs a CMake workflow per
# build tree, each even after one fails: clang++ with the sanitizers (unit, X11, print, fuzz);
# g++ with the MinGW-w64 syntax check and the benchmark built, so neither rots; the release
# build with its Debian packages and their test. --windows (CI) adds Qt for Windows, built once
# into ~/.cache/tolvane, and the ci-windows workflow under Wine, which builds the Windows
# programs themselves in place of the syntax check. The last line counts them all.
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
    export TOLVANE_WINDOWS_CHECK=OFF # ci-windows compiles those branches for real
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
