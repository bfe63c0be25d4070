#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   release tree           all tests (window tests on an Xvfb display of our own)
#   address+UB sanitizers  all tests again, in a Debug build (JUCE assertions
#                          and its leak detector are live there)
#   thread sanitizer       the device and transfer tests
#   fuzzing                bounded runs of the fuzz targets
#   Windows                cross build, tests under Wine
# Ends with one line "N passed, N failed"; exits non-zero on any failure.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${KMX_BUILD_ROOT:-$root/build}"
mkdir -p "$out"

"$root/scripts/setup.sh" || exit 1

passed=0
failed=0
stage_failed=()

note_failure() { failed=$((failed + ${2:-1})); stage_failed+=("$1"); }

# ctest prints "NN% tests passed, F tests failed out of T".
run_ctest() {
    local stage="$1"; shift
    local log="$out/$stage-ctest.log"
    echo "=== $stage: ctest $*"
    ensure_xvfb || echo "test: no X display for the window tests" >&2
    ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    local line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
    if [ -n "$line" ]; then
        bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
        passed=$((passed + total - bad))
        [ "$bad" -gt 0 ] && note_failure "$stage" "$bad"
        [ "$bad" -eq 0 ] && [ "$rc" -ne 0 ] && note_failure "$stage"
    else
        note_failure "$stage"
    fi
}

build_tree() {
    local stage="$1"; shift
    echo "=== $stage: build"
    if ! "$root/scripts/build.sh" "$out/$stage" "$@" > "$out/$stage-build.log" 2>&1; then
        tail -60 "$out/$stage-build.log"
        note_failure "$stage (build)"
        return 1
    fi
}

# One X display for the window tests, ours alone.
source "$root/scripts/xvfb.sh"
start_xvfb || { echo "test: cannot start Xvfb" >&2; exit 1; }
trap stop_xvfb EXIT

if build_tree release -DCMAKE_BUILD_TYPE=Release; then
    run_ctest release --test-dir "$out/release"
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if build_tree asan -DCMAKE_BUILD_TYPE=Debug -DKMX_SANITIZE=address,undefined -DKMX_BUILD_BENCH=OFF; then
    run_ctest asan --test-dir "$out/asan" -LE "no-sanitizer"
fi
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
if build_tree tsan -DCMAKE_BUILD_TYPE=Debug -DKMX_SANITIZE=thread -DKMX_BUILD_BENCH=OFF; then
    run_ctest tsan --test-dir "$out/tsan" -L "device|transfer|app-headless"
fi
unset TSAN_OPTIONS

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "=== fuzz"
    if "$root/scripts/fuzz.sh" "$out/fuzz"; then passed=$((passed + 1)); else note_failure fuzz; fi
fi

if [ -x "$root/scripts/windows/build-and-test.sh" ] && [ "${KMX_SKIP_WINDOWS:-0}" != 1 ]; then
    echo "=== windows"
    KMX_LINUX_BUILD="$out/release" "$root/scripts/windows/build-and-test.sh" "$out/windows" 2>&1 | tee "$out/windows.log"
    wrc=${PIPESTATUS[0]}
    wline=$(grep -E '^windows: [0-9]+ passed, [0-9]+ failed' "$out/windows.log" | tail -1)
    if [ -n "$wline" ]; then
        passed=$((passed + $(sed -E 's/^windows: ([0-9]+) passed.*/\1/' <<<"$wline")))
        wbad=$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$wline")
        [ "$wbad" -gt 0 ] && note_failure windows "$wbad"
        [ "$wbad" -eq 0 ] && [ "$wrc" -ne 0 ] && note_failure windows
    else
        note_failure windows
    fi
fi

if [ ${#stage_failed[@]} -gt 0 ]; then
    echo "test: failures in: ${stage_failed[*]}"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
