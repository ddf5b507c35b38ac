#!/usr/bin/env bash
# Runs each libFuzzer target for SECONDS on a copy of its seed corpus and reports the executions.
# Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS]   (a build configured with -DZORVEL_FUZZ=ON; nothing is built)
# Fails on any crash, leak, sanitizer report, timeout or out-of-memory; the failing inputs are
# kept in BUILD_DIR/fuzz/findings.
set -u

build=${1:-build-fuzz}
seconds=${2:-60}
targets=(lab_stream design_json label_defs filter_expr ini_file csv picture paint_run)

build=$(cd "$build" 2>/dev/null && pwd) || { echo "fuzz.sh: no build folder ${1:-build-fuzz}" >&2; exit 2; }
seeds=$build/fuzz/seeds
findings=$build/fuzz/findings
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export QT_QPA_PLATFORM=offscreen
status=0
summary=()
for t in "${targets[@]}"; do
    exe=$build/fuzz/fuzz_$t
    if [[ ! -x $exe ]]; then
        summary+=("$(printf '%-12s MISSING %s' "$t" "$exe")")
        status=1
        continue
    fi
    corpus=$work/corpus-$t
    mkdir -p "$corpus"
    [[ -d $seeds/$t ]] && cp -R "$seeds/$t/." "$corpus/"
    log=$work/$t.log
    echo "== $t (${seconds}s)"
    "$exe" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/$t-" "$corpus" >"$log" 2>&1
    rc=$?
    # "Done N runs in S second(s)" ends a run that reached its time.
    execs=$(sed -n 's/^Done \([0-9]*\) runs in .*/\1/p' "$log" | tail -n 1)
    [[ -n $execs ]] || execs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    if [[ $rc -ne 0 ]] || grep -qE '^==[0-9]+==ERROR|runtime error:|ERROR: libFuzzer' "$log"; then
        status=1
        summary+=("$(printf '%-12s FAILED  executions %s (exit %d)' "$t" "${execs:-?}" "$rc")")
        grep -m 3 -E 'ERROR|runtime error:|SUMMARY|Test unit written' "$log" | sed 's/^/    /'
        cp "$log" "$findings/$t.log"
    else
        summary+=("$(printf '%-12s ok      executions %s' "$t" "${execs:-?}")")
    fi
done

echo
printf '%s\n' "${summary[@]}"
exit $status
