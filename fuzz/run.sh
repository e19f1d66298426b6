#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds on its corpus, with a memory limit and
# leak detection, and prints libFuzzer's final numbers of each. New inputs go to
# BUILD_DIR/corpus/<target>; a crashing input is left as BUILD_DIR/artifacts/<target>-*.
# Fails when any target found a fault. Usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]}" && pwd)"
seconds="${2:?usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]}"
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(tournamentfile movementfile players pbn handtext typedtext request)
mkdir -p "$build/artifacts"
failed=()
for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t" "$root/fuzz/corpus/$t"
    log="$build/fuzz-$t.log"
    echo "== fuzz_$t for ${seconds}s"
    ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=2048 \
        -timeout=20 -detect_leaks=1 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$t-" \
        "$build/corpus/$t" "$root/fuzz/corpus/$t" >"$log" 2>&1
    rc=$?
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+[[:space:]]+DONE" "$log" || true
    if [ $rc -ne 0 ]; then
        failed+=("$t")
        echo "fuzz_$t FAILED (exit $rc); the end of $log:"
        tail -n 40 "$log"
    fi
done
[ ${#failed[@]} -eq 0 ] || echo "fuzz targets that found a fault: ${failed[*]}"
echo "fuzz: $(( ${#targets[@]} - ${#failed[@]} )) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
