#!/usr/bin/env bash
# How much the tests catch: makes each small change to src/ listed in tools/mutants.tsv (an
# operator or one letter of a caption, tag or name), one at a time, in a git worktree of
# REVISION (HEAD by default), builds, and runs the fast tests with a timeout each. Prints
# one line a change: caught, MISSED, or broken (it did not build). In the list, \n stands
# for a line break; MUTANTS=FILE takes another list. Usage:
#   tools/mutants.sh [REVISION] [CTEST_ARGUMENTS...]     (default: -L unit)
source "$(dirname "$0")/common.sh"

revision=${1:-HEAD}
shift || true
[ $# -gt 0 ] || set -- -L unit
tree=$(mktemp -d)
trap 'git -C "$repo" worktree remove --force "$tree" >/dev/null 2>&1; rm -rf "$tree"' EXIT
git -C "$repo" worktree add --detach "$tree" "$revision" >/dev/null 2>&1
cd "$tree"
cmake --preset dev >/dev/null
cmake --build --preset dev >/dev/null
run_tests() { ctest --test-dir build-dev --timeout 60 "$@" >/dev/null 2>&1; }
run_tests "$@" || { echo "the tests fail without any change"; exit 1; }

caught=0 missed=0
while IFS=$'\t' read -r file from to; do
    [[ -z $file || $file == \#* ]] && continue
    original=$(<"$file")
    from=$(printf '%b' "$from") to=$(printf '%b' "$to")
    if [[ $original != *"$from"* || ${original#*"$from"} == *"$from"* ]]; then
        echo "broken   $file: \"$from\" is not in it exactly once"
        continue
    fi
    printf '%s\n' "${original/"$from"/"$to"}" >"$file"
    if ! cmake --build --preset dev >/dev/null 2>&1; then
        result=broken
    elif run_tests "$@"; then
        result=MISSED missed=$((missed + 1))
    else
        result=caught caught=$((caught + 1))
    fi
    printf '%-8s %s: %s -> %s\n' "$result" "$file" "$from" "$to"
    git checkout -q -- "$file"
done <"${MUTANTS:-$repo/tools/mutants.tsv}"
echo "$caught caught, $missed missed"
