# Sourced by the test scripts: start_xvfb starts an X server on a free display
# number and exports DISPLAY; stop_xvfb ends it.
start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        # -noreset: by default the server resets whenever its last client leaves, and refuses
        # connections while it does; between two tests that is just when the next one connects.
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        KMX_XVFB_PID=$!
        for _ in $(seq 1 50); do
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$KMX_XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$KMX_XVFB_PID" 2>/dev/null
    done
    return 1
}

# Starts a new server if ours is gone.
ensure_xvfb() {
    if [ -n "${KMX_XVFB_PID:-}" ] && kill -0 "$KMX_XVFB_PID" 2>/dev/null && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    stop_xvfb
    start_xvfb
}

stop_xvfb() {
    if [ -n "${KMX_XVFB_PID:-}" ]; then
        kill "$KMX_XVFB_PID" 2>/dev/null
        wait "$KMX_XVFB_PID" 2>/dev/null
        KMX_XVFB_PID=""
    fi
}
