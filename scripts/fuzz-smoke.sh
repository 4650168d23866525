#!/usr/bin/env bash
# Fuzzes the PNG decoder for a minute under AddressSanitizer, seeded with the test fixtures and
# the PngSuite; fails on any crash, leak or sanitizer report. Skipped where clang++ is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null; then
    echo "fuzz smoke: clang++ not found, skipped"
    exit 0
fi

build=build-fuzz
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target read_png_fuzzer pictures_fixture_writer >/dev/null

corpus="$build/read_png_corpus"
rm -rf "$corpus"
mkdir -p "$corpus"
"$build/tests/pictures/pictures_fixture_writer" "$corpus"
suite=../shared/pngsuite/png
if [ -d "$suite" ]; then
    cp "$suite"/*.png "$corpus"/
else
    echo "fuzz smoke: no PngSuite in $suite; seeded with the fixtures alone"
fi

# The decoder's lines and libpng's would drown the fuzzer's own report: close both streams.
"$build/tests/pictures/read_png_fuzzer" -max_total_time=60 -close_fd_mask=3 \
    -artifact_prefix="$build/" "$corpus"
