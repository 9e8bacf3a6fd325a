#!/usr/bin/env bash
# The benchmark: Tolvane on the demo game beside a bare Qt window of its kind (barewindow: 54
# line edits on six tab pages), on a virtual X display, alternating, RUNS times each (20 by
# default): the time from the start of the process until its window is mapped, and its
# resident memory 1.5 s later, with their ratios to the bare window's; a plain text editor
# (mousepad) opening the same file, as a figure. Then the document work and the window work
# that grows with its input, timed with Google Benchmark. With --windows, first the same under
# a Wine of its own, with the programs that the ci-windows workflow built. It prints figures;
# it tests nothing.
source "$(dirname "$0")/common.sh"

runs=${RUNS:-20}
windows=
[ "${1:-}" = --windows ] && windows=1
install_missing build display benchbuild bench ${windows:+windows}
# Both programs get a session bus, as on a desktop.
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || exec dbus-run-session -- bash "$0" "$@"
build bench
bin="$repo/build-bench"
scratch=$(mktemp -d)
trap '[ -z "$windows" ] || bash "$repo/tests/wine.sh" stop "$scratch/wine"
    bash "$repo/tools/xdisplay.sh" stop "$scratch/x"; rm -rf "$scratch"' EXIT
bash "$repo/tools/xdisplay.sh" start "$scratch/x"
export DISPLAY=":$(cat "$scratch/x/display")" XDG_RUNTIME_DIR="$scratch" HOME="$scratch"
cp -r "$repo/examples/tribes" "$scratch/game"
printf '%s\r\n' "$scratch/game" >"$scratch/path.inf"
prefs="$scratch/game/config/ServerPrefs.cs"

# One run: prints "milliseconds-to-map resident-kilobytes".
measure() {
    local title=$1
    shift
    local pid ms rss
    read -r pid ms < <(cd "$scratch" && timeout 20 "$bin/bench/mapwait" "$title" "$@") \
        || { echo "no window \"$title\" appeared" >&2; exit 1; }
    sleep 1.5
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    # Gone for good before the next start, which would otherwise join this instance.
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    echo "$ms $rss"
}

# Median and spread (lowest to highest) of a column.
stats() {
    sort -n -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f %.1f %.1f\n", m, v[1], v[NR] }'
}

# Tolvane and the bare window, alternating: "map median, resident median" of each, and ratios.
compare() {
    local where=$1 tolvane=$2 bare=$3
    shift 3
    : >"$scratch/$where-tolvane" && : >"$scratch/$where-bare"
    for run in $(seq "$runs"); do
        measure Tolvane "$@" "$tolvane" >>"$scratch/$where-tolvane"
        measure Tolvane "$@" "$bare" >>"$scratch/$where-bare"
    done
    echo "$where: start-up to mapped window and resident memory, $runs runs each, alternating:"
    for program in tolvane bare; do
        read -r m lo hi < <(stats "$scratch/$where-$program" 1)
        read -r r _ _ < <(stats "$scratch/$where-$program" 2)
        printf '  %-9s  map median %7.1f ms (%.1f to %.1f)   resident %7.0f KB\n' \
            "$program" "$m" "$lo" "$hi" "$r"
        echo "$m $r" >"$scratch/$where-$program.median"
    done
    read -r tm tr <"$scratch/$where-tolvane.median"
    read -r bm br <"$scratch/$where-bare.median"
    awk -v t="$tm" -v b="$bm" -v tr="$tr" -v br="$br" 'BEGIN {
        printf "  ratio      start-up %.2f (goal at most 1.00)   memory %.2f (goal at most 1.05)\n",
            t / b, tr / br }'
}

# Under Wine: each start pays for Wine's own start too, which the bare window shows.
if [ -n "$windows" ]; then
    exe=$repo/build-ci-windows
    [ -f "$exe/src/tolvane/tolvane.exe" ] && [ -f "$exe/barewindow.exe" ] \
        || { echo "No Windows build: run tools/run-tests.sh --windows first." >&2; exit 1; }
    bash "$repo/tests/wine.sh" start "$scratch/wine" "$scratch/x"
    export XDISPLAY_FOLDER=$scratch/x
    wine=(bash "$repo/tests/wine.sh" run "$scratch/wine")
    measure Tolvane "${wine[@]}" "$exe/src/tolvane/tolvane.exe" >/dev/null # the font cache
    compare "Under Wine" "$exe/src/tolvane/tolvane.exe" "$exe/barewindow.exe" "${wine[@]}"
    # Wine's desktop process would go on watching the display through the runs below.
    bash "$repo/tests/wine.sh" stop "$scratch/wine"
    unset XDISPLAY_FOLDER
    echo
fi

compare Linux "$bin/src/tolvane/tolvane" "$bin/barewindow"
: >"$scratch/mousepad"
for run in $(seq "$runs"); do
    measure ServerPrefs.cs mousepad "$prefs" >>"$scratch/mousepad" 2>>"$scratch/mousepad.log"
done
read -r mm mlo mhi < <(stats "$scratch/mousepad" 1)
read -r mr _ _ < <(stats "$scratch/mousepad" 2)
printf 'A text editor on the same file, as a figure:\n  %-9s  map median %7.1f ms (%.1f to %.1f)   resident %7.0f KB\n' \
    mousepad "$mm" "$mlo" "$mhi" "$mr"
echo
echo "Document work:"
"$bin/bench/bench_document" --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
    --benchmark_format=console 2>/dev/null | grep -E "Benchmark|^-|_median"

echo
echo "Window work (offscreen): a start on 54 values of the given length, with its peak of"
echo "resident memory; a start whose path.inf line is 1 MB of short parts; a folder of 10,000:"
"$bin/bench/bench_windows" --benchmark_format=console 2>/dev/null | grep -E "^start|^open"

# Times on a shared machine vary by some 10 %; instructions do not. One read of files of 54,
# 10,000 and 100,000 lines (some 3 MB, below the size limit): the count grows with the file.
echo
echo "Instructions of one read (callgrind), by the number of lines in the file:"
for lines in 54 10000 100000; do
    awk -v n="$lines" 'BEGIN { for (i = 1; i <= n; ++i) printf "$Server::v%d = \"value\";\r\n", i }' \
        >"$scratch/lines.cs"
    valgrind --tool=callgrind --callgrind-out-file="$scratch/callgrind.out" \
        "$bin/bench/bench_document" --load "$scratch/lines.cs" 2>&1 | grep -q "Collected"
    printf '  %8d lines: %s instructions in all, %s in the load\n' "$lines" \
        "$(awk '/^summary:/ { print $2 }' "$scratch/callgrind.out")" \
        "$(callgrind_annotate --inclusive=yes "$scratch/callgrind.out" 2>/dev/null \
            | awk '/Prefs::readDocument\(QString const&/ { gsub(",", "", $1); print $1; exit }')"
done
