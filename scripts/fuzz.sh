#!/usr/bin/env bash
# Runs the libFuzzer targets for a while.
#
#   scripts/fuzz.sh SECONDS [TARGET]
#
# Configures build-fuzz with clang and -DZR_FUZZ=ON, builds the target (or every
# target with a seed corpus), and fuzzes each for SECONDS on a copy of its
# corpus. New interesting inputs go to build-fuzz/scratch/<target>/corpus; a
# crash is written to build-fuzz/scratch/<target>/ and reported with its file.
# Exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [TARGET]" >&2
    exit 2
fi
SECONDS_EACH=$1
BUILD_DIR=build-fuzz

if [ $# -ge 2 ]; then
    TARGETS=("$2")
else
    TARGETS=()
    for dir in fuzz/corpus/*/; do
        name=$(basename "$dir")
        [ -f "fuzz/$name/CMakeLists.txt" ] && TARGETS+=("$name")
    done
fi

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZR_FUZZ=ON
fi
cmake --build "$BUILD_DIR" --target "${TARGETS[@]}" -j "${ZR_FUZZ_JOBS:-2}"

status=0
for target in "${TARGETS[@]}"; do
    scratch="$BUILD_DIR/scratch/$target"
    rm -rf "$scratch/corpus"
    mkdir -p "$scratch/corpus"
    cp -r "fuzz/corpus/$target/." "$scratch/corpus/"
    log="$scratch/fuzz.log"
    echo "== $target: ${SECONDS_EACH}s, log $log"
    set +e
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
        "$BUILD_DIR/bin/$target" "$scratch/corpus" \
        -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
        -artifact_prefix="$scratch/" >"$log" 2>&1
    rc=$?
    set -e
    grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$log" || true
    crashes=$(find "$scratch" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' \
        -o -name 'timeout-*' -o -name 'oom-*' \) -newer "$scratch/corpus" 2>/dev/null || true)
    if [ $rc -ne 0 ] || [ -n "$crashes" ]; then
        echo "!! $target found a problem (exit $rc):"
        for f in $crashes; do echo "   $f"; done
        grep -m1 -E 'ERROR: |runtime error' "$log" || tail -20 "$log"
        status=1
    else
        echo "   no finding; new inputs in $scratch/corpus"
    fi
done
exit $status
