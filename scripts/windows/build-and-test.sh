#!/usr/bin/env bash
# The Windows side: builds the MinGW dependencies, cross-builds the program, both hidgate.dll
# builds and the test executables, then runs the tests under Wine on an Xvfb display of its own,
# runs the end-to-end tests against the program under Wine, and checks the real program there: it
# shows its window, and a second start exits 0 and brings the first window to the front.
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
# run_gtest LABEL LOG COMMAND...: runs one GoogleTest program and adds up what it reports.
run_gtest() {
    local label=$1 log=$2
    shift 2
    timeout 900 "$@" --gtest_color=no >"$log" 2>&1
    local rc=$?
    local ok bad skipped
    ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    passed=$((passed + ${ok:-0}))
    failed=$((failed + ${bad:-0}))
    if grep -qE 'Leaked objects detected|JUCE Assertion failure' "$log"; then
        fail "$label: leak or assertion report"
    elif [[ $rc -ne 0 && -z "$bad" ]]; then
        fail "$label: exit code $rc"
        tail -n 20 "$log"
    fi
    echo "windows: $label: ${ok:-0} passed, ${bad:-0} failed, ${skipped:-0} skipped (rc $rc)"
    [[ -n "$bad" ]] && grep '^\[  FAILED  \]' "$log" | head -n 20
    return 0
}

for t in "${tests[@]}"; do
    name=$(basename "$t" .exe)
    # The tests link the emulated hidgate.dll, which Windows looks for beside the executable.
    cp -f "$build/bin/hidgate.dll" "$(dirname "$t")/"
    filter=$(known_filter "$name")
    [[ -n "$filter" ]] && echo "windows: $name: left out under Wine: ${filter#--gtest_filter=-}"
    run_gtest "$name" "$build/$name.wine.log" env -C "$(dirname "$t")" wine "$t" $filter
done

# Wine takes the user's language from LC_ALL: the language choice over the real Windows locale
# source, once per locale.
locales_test="$build/tests/text/text_locales_win32_tests.exe"
if [[ -f "$locales_test" ]]; then
    for locale in en_US.UTF-8 de_DE.UTF-8 pt_BR.UTF-8 zh_CN.UTF-8 zh_TW.UTF-8 ko_KR.UTF-8 ja_JP.UTF-8; do
        run_gtest "language choice in $locale" "$build/locales-$locale.wine.log" \
            env -C "$(dirname "$locales_test")" LC_ALL="$locale" wine "$locales_test" \
            --gtest_filter='LocalesWin32.TheUsersLanguageAndTheFirstChoiceFollowTheLocale'
    done
else
    fail "missing $locales_test"
fi

# --- the window and end-to-end tests under Wine ---------------------------------------------------
# The Linux window and end-to-end test programs drive the Windows build: they start
# KMXUpdateProgram.exe through wine with the emulated hidgate.dll beside it, find its window and
# click through X, and the end-to-end runs compare the window's pixels with the screens as the
# program draws them. They come from a Linux tree (the test script's Release tree, built here when
# it is not there).
linux=${KMX_LINUX_BUILD:-$repo/build/release}
if [[ -f "$linux/CMakeCache.txt" ]]; then
    cmake --build "$linux" -j"$jobs" --target e2e_tests app_window_tests >"$build/linux-e2e-build.log" 2>&1
else
    "$repo/scripts/build.sh" "$linux" --target e2e_tests app_window_tests -- -DCMAKE_BUILD_TYPE=Release \
        >"$build/linux-e2e-build.log" 2>&1
fi
if [[ $? -eq 0 && -x "$linux/tests/e2e/e2e_tests" && -x "$linux/tests/app/app_window_tests" ]]; then
    # The window tests start the program from the build's bin folder, hidgate.dll beside it.
    run_gtest "window tests of the Windows build" "$build/window.wine.log" \
        env KMX_TEST_PROGRAM="$exe" LC_ALL=C.UTF-8 "$linux/tests/app/app_window_tests"
    run_gtest "end-to-end runs of the Windows build" "$build/e2e.wine.log" \
        env KMX_TEST_PROGRAM="$exe" KMX_TEST_HIDGATE="$build/bin/hidgate.dll" KMX_E2E_RUNS="$build/e2e-runs" \
        "$linux/tests/e2e/e2e_tests"
else
    tail -n 30 "$build/linux-e2e-build.log"
    fail "the Linux window and end-to-end test programs did not build in $linux"
fi

# --- the real program under Wine ----------------------------------------------------------------
# Started as a user starts it, in English: its window shows with the program's own title and stays
# on top; a second start hands over to it and exits 0, and the first window comes to the front.
# Both states are Wine's own record (there is no window manager here), so a small Windows program
# reads them: it checks the window, takes the foreground, makes the second start itself and
# reports who holds the foreground then.
run="$build/wine-run"
rm -rf "$run" && mkdir -p "$run"
cp "$exe" "$build/bin/hidgate.dll" "$run/"
find "$linux" -name 'KMX-Q7_UP.upd' -type f -print -quit 2>/dev/null | xargs -r -I{} cp {} "$run/"
title="Updater Program"
probe="$build/tests/windows/window_probe.exe"

window_of() {  # prints the X window of a visible window with the program's title, if any
    local w
    for w in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
        echo "$w"
        return 0
    done
    return 1
}

(cd "$run" && LC_ALL=C.UTF-8 exec wine ./KMXUpdateProgram.exe) >"$build/program.wine.log" 2>&1 &
first=$!
win=""
for _ in $(seq 1 240); do
    win=$(window_of) && break
    kill -0 "$first" 2>/dev/null || break
    sleep 0.25
done
if [[ -n "$win" ]]; then
    pass "program window shown: $(xdotool getwindowname "$win")"
    sleep 1
    if (cd "$run" && LC_ALL=C.UTF-8 timeout 90 wine "$probe" KMXUpdateProgram.exe "$title") >"$build/window-probe.wine.log" 2>&1; then
        pass "always on top; a second start exits 0 and the first window comes to the front"
    else
        fail "window probe: $(tr -d '\r' <"$build/window-probe.wine.log" | paste -sd ';' -)"
    fi
    sleep 1
    if kill -0 "$first" 2>/dev/null && [[ $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | wc -l) -eq 1 ]]; then
        pass "first instance still runs with one window"
    else
        fail "first instance gone or a second window appeared"
    fi
else
    fail "no window titled \"$title\" appeared"
    tail -n 20 "$build/program.wine.log"
fi
kill "$first" 2>/dev/null
wait "$first" 2>/dev/null

finish
