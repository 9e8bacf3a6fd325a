#!/usr/bin/env bash
# The test code beside the source: non-blank lines of C++, headers, shell and CMake under
# tests/ (fixture data and fuzz seeds aside) and of the scripts that exist for the tests
# alone (.ci/run, tools/run-tests.sh, tools/mutants.sh), against those under src/. The
# project's rule: at most 40 %.
cd "$(dirname "$0")/.."
lines() {
    git ls-files -- "$@" | grep -E '\.(cpp|h|sh|cmake)$|CMakeLists\.txt$|^\.ci/run$' \
        | grep -v '/corpus/' | xargs cat | grep -cv '^[[:space:]]*$'
}
tests=$(lines tests .ci/run tools/run-tests.sh tools/mutants.sh)
src=$(lines src)
awk -v t="$tests" -v s="$src" 'BEGIN { printf "tests %d, src %d: %.1f %%\n", t, s, 100 * t / s }'
