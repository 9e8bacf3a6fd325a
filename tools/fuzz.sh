#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time (default 45 s, or the first
# argument) from the seed corpora in tests/fuzz/corpus. Any finding fails the run; its input
# is left in build-fuzz/findings. A longer local run: tools/fuzz.sh 3600
source "$(dirname "$0")/common.sh"

seconds=${1:-45}
install_missing "${build_packages[@]}" clang libclang-rt-14-dev
build fuzz
findings="$repo/build-fuzz/findings"
mkdir -p "$findings"
corpus=$(mktemp -d) # new inputs go here, not into the repository's seeds
log="$repo/build-fuzz/fuzz_inputs.log"
if ! "$repo/build-fuzz/tests/fuzz/fuzz_inputs" -max_total_time="$seconds" -max_len=12288 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "$repo/tests/fuzz/corpus" >"$log" 2>&1; then
    tail -n 30 "$log"
    echo "fuzz_inputs: FINDING (see $findings)"
    exit 1
fi
echo "fuzz_inputs: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" \
    | grep -o '[0-9]*$') executions in ${seconds} s, no finding"
rm -rf "$corpus"
