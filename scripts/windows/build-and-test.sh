#!/usr/bin/env bash
# The Windows side: builds the MinGW dependencies, cross-builds the program, both hidgate.dll
# builds and the test executables, then runs the tests under Wine on an Xvfb display of its own,
# and checks the real program under Wine: it starts, shows its window, and a second start exits 0
# while the first window stays.
#
#   scripts/windows/build-and-test.sh [BUILD_DIR]     (default: build/windows)
#
# Ends with the line "windows: N passed, N failed"; exits non-zero on any failure.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${1:-$repo/build/windows}
deps=${KMX_MINGW_DEPS:-/opt/kmx-mingw-deps}
juce_dir=${KMX_JUCE_DIR:-/usr/lib/x86_64-linux-gnu/cmake/JUCE-7.0.5}
jobs=${KMX_JOBS:-2}

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "windows: PASS $*"; }
fail() { failed=$((failed + 1)); echo "windows: FAIL $*"; }
finish() {
    echo "windows: $passed passed, $failed failed"
    [[ $failed -eq 0 ]]
    exit $?
}

mkdir -p "$build"

# --- build ------------------------------------------------------------------------------------
if ! "$here/build-mingw-deps.sh" "$deps"; then
    fail "MinGW dependencies"
    finish
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if ! cmake -S "$repo" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchains/mingw-w64-x86_64.cmake" \
        -DKMX_MINGW_DEPS="$deps" -DJUCE_DIR="$juce_dir" \
        -DCMAKE_BUILD_TYPE=Release -DKMX_BUILD_BENCH=OFF -DKMX_BUILD_TOOLS=OFF \
        "${launcher[@]}" >"$build/configure.log" 2>&1; then
    tail -n 40 "$build/configure.log"
    fail "configure"
    finish
fi
if ! cmake --build "$build" -j"$jobs" >"$build/build.log" 2>&1; then
    grep -E 'error|Error' "$build/build.log" | head -n 40
    fail "cross build"
    finish
fi

exe="$build/bin/KMXUpdateProgram.exe"
for f in "$exe" "$build/bin/hidgate.dll" "$build/hidgate/hidapi/hidgate.dll"; do
    if [[ -f "$f" ]]; then pass "built $(realpath --relative-to="$build" "$f")"; else fail "missing $f"; fi
done

# The program is one GUI executable that needs no DLL of the toolchain, only hidgate.dll.
if [[ -f "$exe" ]]; then
    if [[ $(file "$exe" | grep -c 'PE32+ executable (GUI) x86-64') -gt 0 ]]; then pass "GUI subsystem"; else fail "not a 64-bit GUI executable"; fi
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    if grep -qE 'libstdc|libgcc|libwinpthread|zlib1|libpng|libjpeg' <<<"$dlls"; then
        fail "the executable needs toolchain DLLs: $(echo $dlls)"
    else
        pass "no toolchain DLLs"
    fi
    if grep -qx 'hidgate.dll' <<<"$dlls"; then pass "imports hidgate.dll"; else fail "does not import hidgate.dll"; fi
    # (grep -c reads everything: an early exit of grep -q would fail the pipe under pipefail.)
    if [[ $(strings -el "$exe" | grep -c '^0\.4\.3\.0$') -gt 0 && $(strings "$exe" | grep -c 'level="asInvoker"') -gt 0 ]]; then
        pass "version record 0.4.3.0 and asInvoker manifest"
    else
        fail "version record or manifest missing"
    fi
fi

# --- Wine -------------------------------------------------------------------------------------
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
trap kmx_env_cleanup EXIT
if ! kmx_xvfb_start; then fail "Xvfb"; finish; fi
if ! kmx_wine_start "$build"; then fail "Wine prefix"; finish; fi

# Test executables: JUCE's message window is a real top-level window under Wine, so every test
# runs with the display. The Linux-only programs (driving X11 themselves) are not built here.
mapfile -t tests < <(find "$build/tests" -name '*_tests.exe' -type f | sort)
known="$repo/tests/windows/wine-known-failures.txt"
known_filter() {  # executable-name -> a negative --gtest_filter of its known Wine failures
    local list
    list=$(sed -e 's/#.*//' -e '/^\s*$/d' "$known" 2>/dev/null | sed -n "s/^$1://p" | paste -sd: -)
    [[ -n "$list" ]] && echo "--gtest_filter=-$list"
}
for t in "${tests[@]}"; do
    name=$(basename "$t" .exe)
    # The tests link the emulated hidgate.dll, which Windows looks for beside the executable.
    cp -f "$build/bin/hidgate.dll" "$(dirname "$t")/"
    log="$build/$name.wine.log"
    filter=$(known_filter "$name")
    [[ -n "$filter" ]] && echo "windows: $name: left out under Wine: ${filter#--gtest_filter=-}"
    (cd "$(dirname "$t")" && timeout 600 wine "$t" --gtest_color=no $filter) >"$log" 2>&1
    rc=$?
    ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    passed=$((passed + ${ok:-0}))
    failed=$((failed + ${bad:-0}))
    if grep -qE 'Leaked objects detected|JUCE Assertion failure' "$log"; then
        fail "$name: leak or assertion report"
    elif [[ $rc -ne 0 && -z "$bad" ]]; then
        fail "$name: exit code $rc"
        tail -n 20 "$log"
    fi
    echo "windows: $name: ${ok:-0} passed, ${bad:-0} failed (rc $rc)"
    [[ -n "$bad" ]] && grep '^\[  FAILED  \]' "$log" | head -n 20
done

# --- the real program under Wine ----------------------------------------------------------------
run="$build/wine-run"
rm -rf "$run" && mkdir -p "$run"
cp "$exe" "$build/bin/hidgate.dll" "$run/"
find "$build" -name 'KMX-Q7_UP.upd' -type f -print -quit | xargs -r -I{} cp {} "$run/"

window_of() {  # prints the X window of a visible top-level window of the program, if any
    local w
    for w in $(xdotool search --onlyvisible --name 'Updater Program|KMXUpdateProgram' 2>/dev/null); do
        echo "$w"
        return 0
    done
    return 1
}

(cd "$run" && exec wine ./KMXUpdateProgram.exe) >"$build/program.wine.log" 2>&1 &
first=$!
win=""
for _ in $(seq 1 240); do
    win=$(window_of) && break
    kill -0 "$first" 2>/dev/null || break
    sleep 0.25
done
if [[ -n "$win" ]]; then
    pass "program window shown: $(xdotool getwindowname "$win")"
    sleep 2
    # A screenshot for whoever reads the log; never let it hold the run up.
    timeout 15 import -window "$win" "$build/program-window.png" 2>/dev/null || true

    start=$(date +%s.%N)
    (cd "$run" && timeout 60 wine ./KMXUpdateProgram.exe) >>"$build/program.wine.log" 2>&1
    second=$?
    took=$(echo "$(date +%s.%N) - $start" | bc)
    if [[ $second -eq 0 ]]; then pass "second start exits 0 (${took} s)"; else fail "second start exit code $second"; fi
    sleep 1
    if kill -0 "$first" 2>/dev/null && [[ $(xdotool search --onlyvisible --name 'Updater Program|KMXUpdateProgram' 2>/dev/null | wc -l) -eq 1 ]]; then
        pass "first instance still runs with one window"
    else
        fail "first instance gone or a second window appeared"
    fi
else
    fail "program window never appeared"
    tail -n 20 "$build/program.wine.log"
fi
kill "$first" 2>/dev/null
wait "$first" 2>/dev/null

finish
