#!/usr/bin/env bash
# Builds the benchmarks and the sample library (into a bench data root), runs
# every benchmark program and prints each figure beside its reference from the
# same run (a benchmark X_Reference is the reference of X).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${ZR_BUILD_DIR:-build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" --target vbp zarvostore zr_benchmarks -j "$(nproc)"

export ZARVOREADER_ROOT=${ZR_BENCH_ROOT:-$BUILD_DIR/bench-root}
ZR_BUILD_DIR=$BUILD_DIR bash tools/samples/build-library.sh \
    "$ZARVOREADER_ROOT/opt/ZarvoReader/preinstall/books"

OUT=$BUILD_DIR/bench-results
mkdir -p "$OUT"
status=0
for program in "$BUILD_DIR"/bench/bench_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    name=$(basename "$program")
    echo "== $name"
    if ! "$program" --benchmark_out="$OUT/$name.json" --benchmark_out_format=json \
        ${ZR_BENCH_ARGS:-} >"$OUT/$name.txt" 2>&1; then
        cat "$OUT/$name.txt"
        status=1
        continue
    fi
    python3 - "$OUT/$name.json" <<'PY'
import json, sys

runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("run_type", "iteration") == "iteration"]
by_name = {b["name"]: b for b in runs}

def fmt(b):
    return "%10.1f %-2s" % (b["real_time"], b["time_unit"])

def reference_name(name):
    # Options such as a fixed iteration count or manual timing follow the
    # function name after a slash: X/iterations:6 pairs with X_Reference/iterations:6.
    base, sep, rest = name.partition("/")
    return base + "_Reference" + sep + rest

# Everything else a benchmark reports is one of its own counters.
STANDARD = {"name", "family_index", "per_family_instance_index", "run_name", "run_type",
            "repetitions", "repetition_index", "threads", "iterations", "real_time",
            "cpu_time", "time_unit", "aggregate_name", "aggregate_unit", "label",
            "error_occurred", "error_message"}

def counters(b):
    found = ["%s=%.4g" % (k, v) for k, v in b.items()
             if k not in STANDARD and isinstance(v, (int, float))]
    if found:
        print("    %s: %s" % (b["name"].partition("/")[0], " ".join(found)))

width = max([34] + [len(b["name"]) for b in runs])
print("%-*s %13s %13s %8s" % (width, "benchmark", "time", "reference", "ratio"))
for b in runs:
    if b["name"].partition("/")[0].endswith("_Reference"):
        continue
    ref = by_name.get(reference_name(b["name"]))
    if ref is None:
        print("%-*s %13s" % (width, b["name"], fmt(b)))
        counters(b)
        continue
    ratio = b["real_time"] / ref["real_time"] if ref["real_time"] else float("inf")
    print("%-*s %13s %13s %7.1fx" % (width, b["name"], fmt(b), fmt(ref), ratio))
    counters(b)
    counters(ref)
PY
done

# The store as deployed (nginx in front of zarvostore), measured with wrk,
# curl and ab beside nginx serving the same bytes itself.
echo "== frontdoor"
ZR_BUILD_DIR=$BUILD_DIR bash bench/frontdoor.sh || status=1

# The whole reader, from outside: start-up and peak memory against a bare view.
echo "== wholeprocess"
ZR_BUILD_DIR=$BUILD_DIR bash bench/wholeprocess.sh || status=1
exit $status
