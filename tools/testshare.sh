#!/usr/bin/env bash
# The test code beside the source, in non-blank lines: C++, headers, shell and CMake under
# tests/ (fuzz seeds aside), the scripts that exist for the tests alone (.ci/run,
# tools/run-tests.sh, tools/mutants.sh and its drawer), and the rows of tests/data/*.tsv (the
# lines after the one naming the columns, comments aside; golden files do not count), against
# src/. The project's rule: at most 35 %; above it, the exit status is 1.
cd "$(dirname "$0")/.."
lines() {
    git ls-files -- "$@" | grep -E '\.(cpp|h|sh|py|cmake)$|CMakeLists\.txt$|^\.ci/run$' \
        | grep -v '/corpus/' | xargs cat | grep -cv '^[[:space:]]*$'
}
code=$(lines tests .ci/run tools/run-tests.sh tools/mutants.sh tools/mutants-draw.py)
rows=$(git ls-files -z -- 'tests/data/*.tsv' | xargs -0 awk 'FNR == 1 { head = 1 }
    /^#/ || !NF { next } head { head = 0; next } { n++ } END { print n + 0 }')
awk -v c="$code" -v r="$rows" -v s="$(lines src)" 'BEGIN {
    printf "tests %d (code %d, rows %d), src %d: %.1f %%\n", c + r, c, r, s, 100 * (c + r) / s
    exit 100 * (c + r) > 35 * s }'
