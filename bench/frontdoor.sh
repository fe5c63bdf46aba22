#!/usr/bin/env bash
# Benchmarks of the store as deployed (scripts/serve-store.sh: nginx in front
# of zarvostore), each figure beside its reference from the same run:
#   - an XML action through the front door with wrk (keep-alive, 64
#     connections): requests/s, p99 and errors, against nginx serving a
#     static file of the same size with the same settings;
#   - a package download through the front door against nginx serving the
#     same file directly;
#   - zarvostore's memory after 100,000 requests against its memory at start.
# Needs bin/zarvostore and bin/vbp in ZR_BUILD_DIR (default build/), nginx,
# wrk and ab (scripts/deps.sh). The books are made up here, one of them large.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${ZR_BUILD_DIR:-build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
WORK=$(mktemp -d "${TMPDIR:-/tmp}/frontdoor-bench.XXXXXX")
DURATION=${ZR_FRONTDOOR_SECONDS:-10}
BIG_MB=${ZR_FRONTDOOR_PACKAGE_MB:-192}
STORE_PID=
NGINX_PID=

cleanup() {
    [ -n "$STORE_PID" ] && kill "$STORE_PID" 2>/dev/null && wait "$STORE_PID" 2>/dev/null
    [ -n "$NGINX_PID" ] && kill -QUIT "$NGINX_PID" 2>/dev/null && wait "$NGINX_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

for tool in wrk ab curl /usr/sbin/nginx "$BUILD_DIR/bin/zarvostore" "$BUILD_DIR/bin/vbp"; do
    command -v "$tool" >/dev/null || { echo "frontdoor: $tool is missing" >&2; exit 1; }
done

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Two small books and a large one, all free.
mkdir -p "$WORK/books" "$WORK/text-small" "$WORK/text-big"
for i in 1 2 3; do
    printf 'Chapter %s\n\nA quiet line of made-up text.\n' "$i" >"$WORK/text-small/$i.txt"
done
"$BUILD_DIR/bin/vbp" pack --id bench.small --title "Bench Book" --author "Ann Author" \
    -o "$WORK/books/bench.small.vbp" "$WORK/text-small" >/dev/null
# Chapters of 8 MiB: 4 MiB of text, stored as UTF-16 (a record holds 16 MiB).
for i in $(seq $((BIG_MB / 8))); do
    { printf 'Part %s\n\n' "$i"; head -c $((3 * 1024 * 1024)) /dev/urandom | base64 -w 76; } \
        >"$WORK/text-big/$i.txt"
done
"$BUILD_DIR/bin/vbp" pack --id bench.big --title "Bench Large Book" --author "Ann Author" \
    -o "$WORK/books/bench.big.vbp" "$WORK/text-big" >/dev/null
rm -rf "$WORK/text-big"

PORT=$(free_port)
ZR_BUILD_DIR=$BUILD_DIR bash scripts/serve-store.sh "$PORT" "$WORK/books" "$WORK/data" \
    >"$WORK/serve.out" 2>"$WORK/serve.err" &
STORE_PID=$!
for _ in $(seq 600); do
    grep -q "^listening on" "$WORK/serve.out" && break
    kill -0 "$STORE_PID" 2>/dev/null || { cat "$WORK/serve.err" >&2; exit 1; }
    sleep 0.1
done
STORE=http://127.0.0.1:$PORT
ACTION=/vorelreader/bookinfo.action?bookid=bench.small
curl -sf -o "$WORK/answer.xml" "$STORE$ACTION"
grep -q 'ret="ok"' "$WORK/answer.xml" || { echo "frontdoor: no book details at $ACTION" >&2; exit 1; }

# The reference: nginx with the front door's own settings serving the same
# bytes from files.
REF_PORT=$(free_port)
mkdir -p "$WORK/static" "$WORK/ref/temp"
cp "$WORK/answer.xml" "$WORK/static/answer.xml"
ln -s "$WORK/books/bench.big.vbp" "$WORK/static/bench.big.vbp"
user_line=
[ "$(id -u)" -eq 0 ] && user_line="user $(id -un) $(id -gn);"
cat >"$WORK/ref/nginx.conf" <<EOF
$user_line
daemon off;
worker_processes auto;
worker_rlimit_nofile 20000;
pid $WORK/ref/nginx.pid;
error_log $WORK/ref/error.log warn;
events { worker_connections 8192; }
http {
    access_log $WORK/ref/access.log combined buffer=64k flush=1s;
    client_body_temp_path $WORK/ref/temp;
    proxy_temp_path $WORK/ref/temp;
    fastcgi_temp_path $WORK/ref/temp;
    uwsgi_temp_path $WORK/ref/temp;
    scgi_temp_path $WORK/ref/temp;
    sendfile on;
    tcp_nopush on;
    tcp_nodelay on;
    keepalive_timeout 30s;
    keepalive_requests 1000;
    server {
        listen 127.0.0.1:$REF_PORT backlog=4096;
        root $WORK/static;
    }
}
EOF
/usr/sbin/nginx -p "$WORK/ref/" -e "$WORK/ref/error.log" -c "$WORK/ref/nginx.conf" &
NGINX_PID=$!
REFERENCE=http://127.0.0.1:$REF_PORT
for _ in $(seq 100); do
    curl -sf -o /dev/null "$REFERENCE/answer.xml" && break
    sleep 0.05
done
cmp -s "$WORK/answer.xml" <(curl -sf "$REFERENCE/answer.xml") || { echo "frontdoor: reference not up" >&2; exit 1; }

# "requests/s p99_ms errors" of a wrk run.
wrk_figures() {
    wrk -t2 -c64 -d"${DURATION}s" --latency "$1" | awk '
        /Requests\/sec:/ { rate = $2 }
        $1 == "99%" { v = $2; unit = v; sub(/[0-9.]+/, "", unit); sub(/[a-z]+$/, "", v)
                      p99 = unit == "us" ? v / 1000 : unit == "s" ? v * 1000 : v }
        /Non-2xx/ { errors += $NF }
        /Socket errors/ { gsub(/,/, ""); errors += $4 + $6 + $8 + $10 }
        END { printf "%.0f %.2f %d\n", rate, p99, errors }'
}

SIZE=$(stat -c %s "$WORK/answer.xml")
read -r front_rate front_p99 front_errors < <(wrk_figures "$STORE$ACTION")
read -r ref_rate ref_p99 ref_errors < <(wrk_figures "$REFERENCE/answer.xml")
echo "XML action $ACTION ($SIZE bytes), wrk -t2 -c64 -d${DURATION}s, keep-alive:"
printf '    %-30s %9s req/s  p99 %7s ms  errors %s\n' "front door" "$front_rate" "$front_p99" "$front_errors"
printf '    %-30s %9s req/s  p99 %7s ms  errors %s\n' "reference: nginx static file" "$ref_rate" "$ref_p99" "$ref_errors"
awk -v a="$front_rate" -v b="$ref_rate" 'BEGIN { printf "    ratio %.2f (goal: at least 5000 req/s, p99 under 50 ms, no errors)\n", a / b }'

# The two downloads take turns, fifteen times each, so a busy moment of the
# machine falls on both; the median of each counts.
BIG=$(stat -c %s "$WORK/books/bench.big.vbp")
: >"$WORK/front.times"
: >"$WORK/ref.times"
for _ in $(seq 15); do
    curl -sf -o /dev/null -w '%{time_total}\n' \
        "$STORE/vorelreader/package.action?cid=bench.big" >>"$WORK/front.times"
    curl -sf -o /dev/null -w '%{time_total}\n' "$REFERENCE/bench.big.vbp" >>"$WORK/ref.times"
done
front_time=$(sort -n "$WORK/front.times" | sed -n 8p)
ref_time=$(sort -n "$WORK/ref.times" | sed -n 8p)
echo "package download ($BIG bytes), median of 15 with curl:"
# "NAME MB/s (median s; fastest-slowest s)" of a list of times.
speed() {
    sort -n "$2" | awk -v name="$1" -v b="$BIG" '{ t[NR] = $1 }
        END { printf "    %-30s %9.1f MB/s (%.3f s; %.3f-%.3f s)\n", name, b / t[8] / 1e6, t[8], t[1], t[NR] }'
}
speed "front door" "$WORK/front.times"
speed "reference: nginx direct" "$WORK/ref.times"
awk -v a="$front_time" -v b="$ref_time" 'BEGIN { printf "    ratio %.3f (goal: at least 0.95)\n", b / a }'

resident_kib() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$(cat "$WORK/data/frontdoor/zarvostore.pid")/status"
}
# The memory runs on a store of its own, fresh from its start.
kill "$STORE_PID" && wait "$STORE_PID" || true
STORE_PID=
rm -f "$WORK/serve.out"
ZR_BUILD_DIR=$BUILD_DIR bash scripts/serve-store.sh "$PORT" "$WORK/books" "$WORK/data" \
    >"$WORK/serve.out" 2>"$WORK/serve.err" &
STORE_PID=$!
for _ in $(seq 600); do
    grep -q "^listening on" "$WORK/serve.out" 2>/dev/null && break
    kill -0 "$STORE_PID" 2>/dev/null || { cat "$WORK/serve.err" >&2; exit 1; }
    sleep 0.1
done
at_start=$(resident_kib)
failed=$(ab -q -k -c 64 -n 100000 "$STORE$ACTION" | awk '/^Failed requests:/ { print $3 }')
after=$(resident_kib)
echo "zarvostore memory, ab -k -c 64 -n 100000 $ACTION (failed: $failed):"
awk -v s="$at_start" -v a="$after" 'BEGIN {
    printf "    %-30s %9.1f MiB\n    %-30s %9.1f MiB\n    ratio %.2f\n",
           "after 100,000 requests", a / 1024, "reference: at start", s / 1024, a / s }'
