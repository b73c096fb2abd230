#!/usr/bin/env bash
# Builds the texture-sheet fuzz target with clang's libFuzzer and runs it for
# a fixed time (BRANNOC_FUZZ_SECONDS, 15 by default; longer by hand), seeded
# with the built-in sheets. Fails on any crash, leak or sanitizer report.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$source_dir" "$source_dir/tests/fuzz/texture_png_fuzz.cpp" "$source_dir/canvas/png_image.cpp" \
    "$source_dir/canvas/raster_image.cpp" -lpng -o "$work/fuzz"
mkdir "$work/corpus"
cp "$source_dir/assets/boulder_sheet.png" "$source_dir/assets/about_image.png" "$work/corpus/"
"$work/fuzz" -max_total_time="${BRANNOC_FUZZ_SECONDS:-15}" -max_len=65536 -print_final_stats=1 "$work/corpus" 2>&1 |
    tail -n 4
