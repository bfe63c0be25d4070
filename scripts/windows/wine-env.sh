# shellcheck shell=bash
# Wine and Xvfb for running the Windows build's tests. Source this file, then:
#
#   kmx_wine_start BUILD_DIR   # one Wine prefix in BUILD_DIR/wineprefix, a persistent wineserver
#   kmx_xvfb_start             # an Xvfb on a free display; exports DISPLAY
#   ... wine test.exe ...
#   kmx_wine_stop; kmx_xvfb_stop   # (kmx_env_cleanup does both; install it as an EXIT trap)
#
# Creating a prefix takes several seconds, so a run keeps one and reuses it if it is already
# there. The persistent wineserver makes each later start of a program quick.

export WINEDEBUG=-all
# No Mono and Gecko installers: the program needs neither .NET nor the HTML engine.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

kmx__xvfb_pid=""
kmx__wine_started=""

kmx_xvfb_start() {
    if [[ -n "$kmx__xvfb_pid" ]]; then return 0; fi
    local n
    for n in $(seq 90 140); do
        [[ -e "/tmp/.X$n-lock" || -e "/tmp/.X11-unix/X$n" ]] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        kmx__xvfb_pid=$!
        local i
        for i in $(seq 1 100); do
            if ! kill -0 "$kmx__xvfb_pid" 2>/dev/null; then break; fi
            if [[ -e "/tmp/.X11-unix/X$n" ]] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        # Lost the race for this number (or the server died): try the next one.
        kill "$kmx__xvfb_pid" 2>/dev/null
        wait "$kmx__xvfb_pid" 2>/dev/null
        kmx__xvfb_pid=""
    done
    echo "wine-env: no free X display for Xvfb" >&2
    return 1
}

kmx_xvfb_stop() {
    if [[ -n "$kmx__xvfb_pid" ]]; then
        kill "$kmx__xvfb_pid" 2>/dev/null
        wait "$kmx__xvfb_pid" 2>/dev/null
        kmx__xvfb_pid=""
    fi
}

kmx_wine_start() {  # build-dir
    local build=$1
    command -v wine >/dev/null || { echo "wine-env: wine is not installed" >&2; return 1; }
    export WINEPREFIX="$build/wineprefix"
    mkdir -p "$build"
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        echo "wine-env: creating the Wine prefix $WINEPREFIX" >&2
        wineboot --init >/dev/null 2>&1 || { echo "wine-env: wineboot failed" >&2; return 1; }
    fi
    # Keep this prefix's server running through the whole test run (it ends by itself after an
    # hour at most, and kmx_wine_stop ends it at once).
    wineserver -p3600 >/dev/null 2>&1
    kmx__wine_started=1
}

kmx_wine_stop() {
    if [[ -n "$kmx__wine_started" && -n "${WINEPREFIX:-}" ]]; then
        # -k ends only the server of this prefix, with the programs still running in it.
        wineserver -k >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1
        kmx__wine_started=""
    fi
}

kmx_env_cleanup() {
    kmx_wine_stop
    kmx_xvfb_stop
}
