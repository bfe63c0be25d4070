#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh <build-dir> [cmake options...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"; shift

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$dir" "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
