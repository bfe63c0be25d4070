#!/usr/bin/env bash
# Installs what is missing, builds the program with the emulated controller
# beside it and the sample update package, and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KMX_BUILD_DIR:-$root/build/release}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display (DISPLAY is not set); the program needs a desktop session" >&2
    exit 1
fi

"$root/scripts/setup.sh"
# Only what the program needs: the program, its hidgate and the sample package.
"$root/scripts/build.sh" "$build" --target KMXUpdateProgram kmx_sample_package -- -DCMAKE_BUILD_TYPE=Release -DKMX_HIDGATE=emulator

exec "$build/bin/KMXUpdateProgram"
