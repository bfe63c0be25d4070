#!/usr/bin/env bash
# Configures and builds one tree:
#   scripts/build.sh <build-dir> [cmake options...]
#   scripts/build.sh <build-dir> --target T... -- [cmake options...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$1"; shift

targets=()
if [ "${1:-}" = "--target" ]; then
    shift
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do targets+=("$1"); shift; done
    [ "${1:-}" = "--" ] && shift
fi

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$dir" "${launcher[@]}" "$@" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
else
    cmake --build "$dir" -j "$(nproc)"
fi
