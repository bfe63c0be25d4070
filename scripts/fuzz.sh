#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in a tree of their own and runs each for a
# bounded time. Exits non-zero when a target fails to build or finds a crash.
#   scripts/fuzz.sh [BUILD_DIR]      FUZZ_SECONDS=20 by default, per target
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/fuzz}"
seconds="${FUZZ_SECONDS:-20}"
clang="${FUZZ_CXX:-clang++}"

if ! command -v "$clang" > /dev/null; then
    echo "fuzz: $clang not found" >&2
    exit 1
fi

mkdir -p "$build"
cmake -S "$root/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER="$clang" -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$build/configure.log" 2>&1 \
    || { cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" > "$build/build.log" 2>&1 \
    || { tail -40 "$build/build.log" >&2; exit 1; }

# A small valid package as a starting point for the package target: a header
# with version 001, eight empty records and one byte of payload behind them.
seed_package() {
    local out="$1"
    {
        printf 'fuzz seed package   001             '
        for i in 1 2 3 4 5 6 7 8; do
            printf 'KMX-Q7 SEG%d    Y    0000        \x00\x00\x00\x00\x00\x00' "$i"
        done
        printf '!'
    } > "$out"
}

status=0
ran=0
for target in "$build"/*_fuzz; do
    [ -x "$target" ] || continue
    name="$(basename "$target")"
    corpus="$build/corpus/$name"
    seeds="$build/seeds/$name"
    mkdir -p "$corpus" "$seeds" "$build/artifacts"
    [ "$name" = package_fuzz ] && seed_package "$seeds/valid.upd"

    dict=()
    [ -f "$root/tests/fuzz/$name.dict" ] && dict=(-dict="$root/tests/fuzz/$name.dict")

    echo "fuzz: $name for ${seconds}s"
    if ! "$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1 \
            "$corpus" "$seeds" > "$build/$name.log" 2>&1; then
        echo "fuzz: $name FAILED (log: $build/$name.log)" >&2
        tail -40 "$build/$name.log" >&2
        status=1
    else
        grep -E '^stat::number_of_executed_units|^Done' "$build/$name.log" | sed "s/^/fuzz: $name: /"
    fi
    ran=$((ran + 1))
done

if [ "$ran" -eq 0 ]; then
    echo "fuzz: no fuzz target was built" >&2
    exit 1
fi
exit $status
