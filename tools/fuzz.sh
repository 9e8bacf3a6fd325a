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
for target in prefsreader pathstore nativepath skinname; do
    # A scratch copy of the seeds, so that the run does not add to the repository's corpus.
    corpus=$(mktemp -d)
    cp "$repo/tests/fuzz/corpus/$target/"* "$corpus/"
    log="$repo/build-fuzz/fuzz_$target.log"
    # Inputs of up to three of the line reader's 4,096-byte chunks, to cross their seams.
    if ! "$repo/build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=12288 \
        -artifact_prefix="$findings/$target-" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
        tail -n 30 "$log"
        echo "fuzz_$target: FINDING (see $findings)"
        exit 1
    fi
    echo "fuzz_$target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" \
        | grep -o '[0-9]*$') executions in ${seconds} s, no finding"
    rm -rf "$corpus"
done
