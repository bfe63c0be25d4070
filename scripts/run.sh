#!/usr/bin/env bash
# Installs what is missing, builds the program with the emulated controller
# beside it and the sample update package, and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KMX_BUILD_DIR:-$root/build/release}"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DKMX_HIDGATE=emulator

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display (DISPLAY is not set); the program needs a desktop session" >&2
    exit 1
fi

exec "$build/bin/KMXUpdateProgram"
