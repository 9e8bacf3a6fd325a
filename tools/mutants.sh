#!/usr/bin/env bash
# How much the tests catch: makes each small change of tools/mutants.tsv to src/ (an operator,
# or one letter of a caption, a tag or a name; \n for a line break), one at a time, in a git
# worktree of REVISION, builds, and runs the tests with a timeout each. Prints a line a
# change: caught, MISSED, or broken (it does not build), then the share caught. MUTANTS=FILE
# takes another list; --random SEED N draws N changes from the lines of src/core and
# src/platform that the Linux build compiles (tools/mutants-draw.py). --windows changes the
# *_windows.cpp files instead, and runs tst_core and tst_cli of the Windows build under Wine.
# Usage: tools/mutants.sh [--windows] [--random SEED N] [REVISION [CTEST_ARGUMENTS...]]
#        (HEAD; -L unit, or with --windows -R '^tst_(core|cli)$')
source "$(dirname "$0")/common.sh"
preset=dev sources=('src/core/*.cpp' 'src/core/*.h' 'src/platform/*.cpp' 'src/platform/*.h')
targets=() timeout=60
if [ "${1:-}" = --windows ]; then
    preset=ci-windows sources=('src/platform/*_windows.cpp') timeout=600
    targets=(--target tst_core tst_cli tolvane-cli)
    TOLVANE_QT_WINDOWS=$(bash "$repo/tools/build-qt-windows.sh" | tail -n 1)
    export TOLVANE_QT_WINDOWS
    shift
    # tools/mutants.tsv changes files that the Windows build does not compile.
    [ "${1:-}" = --random ] || { echo "--windows takes its changes from --random SEED N"; exit 2; }
fi
if [ "${1:-}" = --random ]; then
    MUTANTS=$(mktemp)
    files=$(cd "$repo" && git ls-files "${sources[@]}")
    [ $preset = ci-windows ] || files=$(grep -v _windows <<<"$files")
    python3 "$repo/tools/mutants-draw.py" "$2" "$3" $files >"$MUTANTS"
    shift 3
fi
revision=${1:-HEAD}
shift || true
if [ $# -eq 0 ]; then
    if [ $preset = dev ]; then set -- -L unit; else set -- -R '^tst_(core|cli)$'; fi
fi
tree=$(mktemp -d)
trap 'git -C "$repo" worktree remove --force "$tree" &>/dev/null; rm -rf "$tree" "$tree.log"' EXIT
# Never in the caller's own tree, where a change would be made to, and undone in, its files.
git -C "$repo" worktree add --detach "$tree" "$revision" &>/dev/null \
    || { echo "no revision $revision"; exit 1; }
cd "$tree"
cmake --preset $preset >/dev/null && cmake --build --preset $preset "${targets[@]}" >/dev/null || exit 1
tests() { ctest --test-dir build-$preset --timeout $timeout --output-on-failure "$@" >"$tree.log" 2>&1; }
tests "$@" || { echo "the tests fail without any change:"; tail -n 30 "$tree.log"; exit 1; }
declare -A counts
while IFS=$'\t' read -r file from to; do
    [[ -z $file || $file == \#* ]] && continue
    original=$(<"$file") from=$(printf '%b' "$from") to=$(printf '%b' "$to")
    result=broken
    if [[ $original == *"$from"* && ${original#*"$from"} != *"$from"* ]]; then
        printf '%s\n' "${original/"$from"/"$to"}" >"$file"
        cmake --build --preset $preset "${targets[@]}" >/dev/null 2>&1 \
            && { tests "$@" && result=MISSED || result=caught; }
        git checkout -q -- "$file"
    fi
    printf '%-7s %s: %s -> %s\n' "$result" "$file" "$from" "$to"
    counts[$result]=$((${counts[$result]:-0} + 1))
done <"${MUTANTS:-$repo/tools/mutants.tsv}"
caught=${counts[caught]:-0} missed=${counts[MISSED]:-0}
echo "caught $caught of $((caught + missed)) that build: $((100 * caught / (caught + missed + (caught + missed == 0)))) %"
