#!/usr/bin/env bash
# Whole-process figures of the reader, measured from outside, each beside its
# reference from the same run (bench/barequickview: a bare QQuickView showing
# one text):
#   - start: from launch to exit of a process that ends itself on its first
#     swapped frame; the reader shows its shelf with 200 books that its
#     library database already lists;
#   - peak memory (maximum resident set) of those two runs;
#   - peak memory while reading 3,000 pages of 全唐诗, the largest sample book,
#     one swapped frame per page, against the bare program's.
# The programs take turns, ZR_WHOLE_RUNS times (default 10; the reading runs,
# some 40 s each, ZR_WHOLE_READ_RUNS times), so a busy moment of the machine
# falls on both; the median of each counts. Runs alone or from
# scripts/bench.sh; builds what it needs in ZR_BUILD_DIR (default build/).
# Both programs run under the offscreen platform with the software scene graph
# unless QT_QPA_PLATFORM / QT_QUICK_BACKEND say otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${ZR_BUILD_DIR:-build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
RUNS=${ZR_WHOLE_RUNS:-10}
READ_RUNS=${ZR_WHOLE_READ_RUNS:-$RUNS}
PAGES=${ZR_WHOLE_PAGES:-3000}
SHELF_BOOKS=200

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
mkdir -p "$BUILD_DIR/bench-whole"
cmake --build "$BUILD_DIR" --target zarvoreader barequickview vbp -j "$(nproc)" \
    >"$BUILD_DIR/bench-whole/build.log" 2>&1 || { tail -n 30 "$BUILD_DIR/bench-whole/build.log"; exit 1; }

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QT_QUICK_BACKEND=${QT_QUICK_BACKEND:-software}
# ZR_WHOLE_READER measures another build of the reader (an earlier one, say)
# against the same references.
READER=${ZR_WHOLE_READER:-$BUILD_DIR/bin/zarvoreader}
BARE=$BUILD_DIR/bench/barequickview
SHELF_ROOT=$BUILD_DIR/bench-whole/shelf
READ_ROOT=$BUILD_DIR/bench-whole/reading

# 200 small made-up books, packed once.
books=$SHELF_ROOT/opt/ZarvoReader/preinstall/books
if [ "$(find "$books" -name '*.vbp' 2>/dev/null | wc -l)" -ne "$SHELF_BOOKS" ]; then
    rm -rf "$SHELF_ROOT"
    mkdir -p "$books" "$SHELF_ROOT/sources"
    python3 - "$SHELF_ROOT/sources" "$SHELF_BOOKS" <<'PY'
import json, sys
titles = ["春江花月夜", "山居秋暝", "将进酒", "登鹳雀楼", "静夜思"]
authors = ["张若虚", "王维", "李白", "王之涣"]
for i in range(int(sys.argv[2])):
    book = {"id": "shelf-%03d" % i, "title": "%s %d" % (titles[i % 5], i + 1),
            "author": authors[i % 4], "publisher": "Bench", "description": "第%d本书" % (i + 1),
            "chapters": [{"title": "第一章", "text": chr(0x6C5F + i % 7) * 1500},
                         {"title": "第二章", "text": "月出惊山鸟，时鸣春涧中。"}]}
    with open("%s/shelf-%03d.json" % (sys.argv[1], i), "w", encoding="utf-8") as f:
        json.dump(book, f, ensure_ascii=False)
PY
    for source in "$SHELF_ROOT"/sources/*.json; do
        "$BUILD_DIR/bin/vbp" pack -o "$books/$(basename "$source" .json).vbp" "$source" >/dev/null
    done
fi
# The sample library, built by the same script as for scripts/bench.sh.
ZR_BUILD_DIR=$BUILD_DIR bash tools/samples/build-library.sh \
    "$READ_ROOT/opt/ZarvoReader/preinstall/books" >/dev/null

# One start on each data root lets the library database list every book and
# extract the covers; each measured run starts from a copy of that state, so
# no run finds a reading position stored by the one before.
for root in "$SHELF_ROOT" "$READ_ROOT"; do
    rm -rf "$root/opt/ZarvoReader/db" "$root/home" "$root/known"
    ZARVOREADER_ROOT=$root ZARVOREADER_EXIT_ON_FIRST_FRAME=1 "$READER" >/dev/null \
        2>"$BUILD_DIR/bench-whole/stderr.log" || { cat "$BUILD_DIR/bench-whole/stderr.log"; exit 1; }
    mkdir -p "$root/known"
    cp -a "$root/opt/ZarvoReader/db" "$root/known/"
done

python3 - "$READER" "$BARE" "$SHELF_ROOT" "$READ_ROOT" "$RUNS" "$READ_RUNS" "$PAGES" <<'PY'
import os, shutil, statistics, subprocess, sys, time

reader, bare, shelf_root, read_root, runs, read_runs, pages = sys.argv[1:]
runs, read_runs, pages = int(runs), int(read_runs), int(pages)

def resident(pid):
    """(private, file-backed) resident KiB of a running process."""
    try:
        with open("/proc/%d/status" % pid) as status:
            fields = dict(line.split(":", 1) for line in status)
        return int(fields["RssAnon"].split()[0]), int(fields["RssFile"].split()[0])
    except (OSError, KeyError, ValueError):
        return None

def run(program, root=None, watch=False, **env):
    """(seconds from launch to exit, peak resident set in KiB, the private and
    file-backed KiB at the largest resident set seen by watching, CPU seconds)
    of one run."""
    environment = dict(os.environ, **env)
    if root:
        db = os.path.join(root, "opt/ZarvoReader/db")
        shutil.rmtree(db, ignore_errors=True)
        shutil.copytree(os.path.join(root, "known/db"), db)
        environment["ZARVOREADER_ROOT"] = root
    started = time.perf_counter()
    errors = open(os.path.join(os.path.dirname(shelf_root), "stderr.log"), "w+")
    child = subprocess.Popen([program], env=environment, stdout=subprocess.DEVNULL, stderr=errors)
    split = (0, 0)
    while watch:
        pid, status, usage = os.wait4(child.pid, os.WNOHANG)
        if pid:
            break
        now = resident(child.pid)
        if now and sum(now) > sum(split):
            split = now
        time.sleep(0.05)
    else:
        _, status, usage = os.wait4(child.pid, 0)
    elapsed = time.perf_counter() - started
    if status != 0:
        errors.seek(0)
        sys.exit("wholeprocess: %s ended with status %#x\n%s" % (program, status, errors.read()[-2000:]))
    errors.close()
    return elapsed, usage.ru_maxrss, split, usage.ru_utime + usage.ru_stime

def start_reader():
    return run(reader, shelf_root, ZARVOREADER_EXIT_ON_FIRST_FRAME="1")

def read_book():
    return run(reader, read_root, watch=True, ZARVOREADER_READ_PAGES=str(pages),
               ZARVOREADER_READ_BOOK="全唐诗")

# Once each outside the figures, so every measured run finds the files in the
# page cache and the compiled documents in the QML disk cache.
run(bare)
start_reader()
results = {"bare": [], "start": [], "bare2": [], "read": []}
for turn in range(runs):
    results["bare"].append(run(bare))
    results["start"].append(start_reader())
    # Each reading run takes a while (a frame per page): fewer of them if asked.
    if turn < read_runs:
        results["bare2"].append(run(bare))
        results["read"].append(read_book())

def median(key, field):
    return statistics.median(r[field] for r in results[key])

def spread(key, field, scale):
    values = [r[field] * scale for r in results[key]]
    return "%.1f-%.1f" % (min(values), max(values))

print("whole process, median of %d runs (%d of the reading one; %s, %s); reference: "
      "bench/barequickview" % (runs, min(runs, read_runs), os.environ.get("QT_QPA_PLATFORM"),
                              os.environ.get("QT_QUICK_BACKEND")))
print("%-44s %10s %10s %s" % ("figure", "reader", "reference", "comparison"))
start, ref = median("start", 0) * 1000, median("bare", 0) * 1000
print("%-44s %7.1f ms %7.1f ms %5.2fx (goal <= 1.3x)   [runs %s ms, ref %s ms]"
      % ("start to first shelf frame (200 books)", start, ref, start / ref,
         spread("start", 0, 1000), spread("bare", 0, 1000)))
# CPU time (user and system) of the same runs: less moved by a busy machine.
cpu, ref = median("start", 3) * 1000, median("bare", 3) * 1000
print("%-44s %7.1f ms %7.1f ms %5.2fx" % ("  its CPU time (user + system)", cpu, ref, cpu / ref))
peak, ref = median("start", 1) / 1024, median("bare", 1) / 1024
print("%-44s %6.1f MiB %6.1f MiB %+5.1f MiB" % ("peak memory at start", peak, ref, peak - ref))
if not results["read"]:
    sys.exit(0)
peak, ref = median("read", 1) / 1024, median("bare2", 1) / 1024
print("%-44s %6.1f MiB %6.1f MiB %+5.1f MiB (goal <= +20 MiB)   [%.1f s a run]"
      % ("peak memory reading %d pages of 全唐诗" % pages, peak, ref, peak - ref,
         median("read", 0)))
# Clean pages of mapped files (the CJK fonts above all) count in the resident
# set too; the kernel maps them in blocks around each glyph read.
private = statistics.median(r[2][0] for r in results["read"]) / 1024
mapped = statistics.median(r[2][1] for r in results["read"]) / 1024
print("%-44s %6.1f MiB private, %.1f MiB file-backed (at the largest sample)"
      % ("  of which", private, mapped))
PY
