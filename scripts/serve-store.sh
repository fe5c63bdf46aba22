#!/usr/bin/env bash
# Runs the store behind nginx:
#
#     serve-store.sh PORT BOOKS_DIR DATA_DIR [zarvostore options...]
#
# zarvostore listens on a free loopback port of its own, keeps its ledger and
# covers in DATA_DIR, checks tickets and answers the XML actions; nginx
# listens on 127.0.0.1:PORT in front of it and sends package and cover bytes
# itself. Prints "listening on 127.0.0.1:PORT" once the store answers through
# nginx. SIGTERM or SIGINT stops both.
#
# A zarvostore that dies is started again after a second, on its old port
# when it can (otherwise on a new one, and nginx is told), so the store comes
# back after a crash while nginx answers 502 in between. When it keeps dying
# (five times, each within ten seconds of its start) or nginx dies, both are
# stopped and the script exits 1.
#
# nginx's configuration, pid, logs and temporary files, zarvostore's pid file
# and log live in the run folder, DATA_DIR/frontdoor unless ZR_FRONTDOOR_RUN
# names another. zarvostore is taken from ZR_BUILD_DIR/bin (default build/).
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
die() {
    echo "serve-store: $*" >&2
    exit 1
}

[ $# -ge 3 ] || die "usage: serve-store.sh PORT BOOKS_DIR DATA_DIR [zarvostore options...]"
PORT=$1
BOOKS_DIR=$2
DATA_DIR=$3
shift 3
STORE_OPTIONS=("$@")

[[ $PORT =~ ^[0-9]{1,5}$ ]] && [ "$PORT" -ge 1 ] && [ "$PORT" -le 65535 ] || die "bad port: $PORT"
[ -d "$BOOKS_DIR" ] || die "no books folder: $BOOKS_DIR"
mkdir -p "$DATA_DIR" || die "cannot make the data folder: $DATA_DIR"
BOOKS_DIR=$(cd "$BOOKS_DIR" && pwd)
DATA_DIR=$(cd "$DATA_DIR" && pwd)
RUN_DIR=${ZR_FRONTDOOR_RUN:-$DATA_DIR/frontdoor}
mkdir -p "$RUN_DIR/temp" || die "cannot make the run folder: $RUN_DIR"
RUN_DIR=$(cd "$RUN_DIR" && pwd)
for path in "$BOOKS_DIR" "$DATA_DIR" "$RUN_DIR"; do
    # They go into the configuration between double quotes, where nginx
    # would read these characters as escapes or variables.
    case "$path" in *[\"\$\\]* | *[[:cntrl:]]*) die "cannot serve a path with \", \$, \\ or control characters: $path" ;; esac
done

BUILD_DIR=${ZR_BUILD_DIR:-build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
STORE_PROGRAM=$BUILD_DIR/bin/zarvostore
NGINX=${ZR_NGINX:-/usr/sbin/nginx}
[ -x "$STORE_PROGRAM" ] || die "no $STORE_PROGRAM (build it first)"
[ -x "$NGINX" ] || die "no $NGINX (scripts/deps.sh installs it)"

# Each idle client costs nginx a descriptor, each request in progress two.
ulimit -Sn "$(ulimit -Hn)" 2>/dev/null || true

# Links in the store's answers name the front door, unless the caller puts
# something of its own in front of it (the screenshot tour's slow relay).
PUBLIC_URL=${ZR_STORE_PUBLIC_URL:-http://127.0.0.1:$PORT/}
STORE_PID=
STORE_PORT=0
NGINX_PID=
stopping=

# Fills the template for the upstream on port $1.
write_config() {
    local user_line=
    # Workers of a master started as root would switch to "nobody".
    [ "$(id -u)" -eq 0 ] && user_line="user $(id -un) $(id -gn);"
    local escaped=()
    local value
    for value in "$RUN_DIR" "$BOOKS_DIR" "$DATA_DIR/covers"; do
        # Safe as a sed replacement: "|" delimits, "&" and "\" are special.
        escaped+=("$(printf '%s' "$value" | sed -e 's/[|&\\]/\\&/g')")
    done
    sed -e "s|@USER_LINE@|$user_line|" \
        -e "s|@RUN_DIR@|${escaped[0]}|g" \
        -e "s|@BOOKS_DIR@|${escaped[1]}|g" \
        -e "s|@COVERS_DIR@|${escaped[2]}|g" \
        -e "s|@PORT@|$PORT|g" \
        -e "s|@UPSTREAM@|127.0.0.1:$1|g" \
        "$ROOT/deploy/zarvostore-nginx.conf.in" >"$RUN_DIR/nginx.conf.new" &&
        mv "$RUN_DIR/nginx.conf.new" "$RUN_DIR/nginx.conf"
}

# Starts zarvostore on port $1 (0: any free one) and waits for the port it
# announces; false when it does not come up.
start_store() {
    local announced="$RUN_DIR/zarvostore.out"
    : >"$announced"
    "$STORE_PROGRAM" --host 127.0.0.1 --port "$1" --books "$BOOKS_DIR" --data "$DATA_DIR" \
        --public-url "$PUBLIC_URL" --accel-redirect "${STORE_OPTIONS[@]}" \
        >"$announced" 2>>"$RUN_DIR/zarvostore.log" &
    STORE_PID=$!
    echo "$STORE_PID" >"$RUN_DIR/zarvostore.pid"
    STORE_STARTED=$SECONDS
    local line
    for _ in $(seq 600); do
        # read fails on a line that is still being written.
        if IFS= read -r line <"$announced" &&
            [[ $line =~ ^listening\ on\ 127\.0\.0\.1:([0-9]+)$ ]]; then
            STORE_PORT=${BASH_REMATCH[1]}
            return 0
        fi
        alive "$STORE_PID" || break
        sleep 0.05
    done
    stop_process "$STORE_PID" TERM
    STORE_PID=
    echo "serve-store: zarvostore did not start; see $RUN_DIR/zarvostore.log" >&2
    tail -n 5 "$RUN_DIR/zarvostore.log" >&2
    return 1
}

start_nginx() {
    "$NGINX" -p "$RUN_DIR/" -e "$RUN_DIR/error.log" -c "$RUN_DIR/nginx.conf" &
    NGINX_PID=$!
    local status
    for _ in $(seq 300); do
        # Any answer of the store's own; nginx says 502 until it reaches it.
        status=$(curl -s -o /dev/null -w '%{http_code}' --max-time 2 \
            "http://127.0.0.1:$PORT/vorelreader/keywords.action?uid=")
        [[ $status =~ ^[234] ]] && return 0
        alive "$NGINX_PID" || break
        sleep 0.05
    done
    echo "serve-store: the store does not answer through nginx on 127.0.0.1:$PORT" >&2
    tail -n 5 "$RUN_DIR/error.log" >&2
    return 1
}

# True while process $1 runs; a child that ended but was not waited for yet
# still answers kill -0.
alive() {
    local state
    state=$(sed -n 's/.*) \(.\).*/\1/p' "/proc/$1/stat" 2>/dev/null)
    [ -n "$state" ] && [ "$state" != Z ]
}

# Sends signal $2 to child $1 and waits for it, at most 15 s before SIGKILL.
stop_process() {
    [ -n "$1" ] || return 0
    kill -"$2" "$1" 2>/dev/null
    for _ in $(seq 150); do
        alive "$1" || break
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 0
}

shutdown() {
    # nginx first, finishing what it has begun, then the store behind it.
    stop_process "$NGINX_PID" QUIT
    stop_process "$STORE_PID" TERM
    rm -f "$RUN_DIR/zarvostore.pid"
    exit "$1"
}

restart_store() {
    local old_port=$STORE_PORT
    if ! start_store "$old_port"; then
        start_store 0 || return 1
    fi
    [ "$STORE_PORT" = "$old_port" ] && return 0
    # The old port was taken in the meantime: nginx rereads its configuration.
    write_config "$STORE_PORT" && kill -HUP "$NGINX_PID"
}

trap 'stopping=1' TERM INT

start_store 0 || exit 1
if ! write_config "$STORE_PORT" || ! start_nginx; then
    shutdown 1
fi
echo "serve-store: logs in $RUN_DIR" >&2
echo "listening on 127.0.0.1:$PORT"

quick_deaths=0
while [ -z "$stopping" ]; do
    ended=
    wait -n -p ended "$NGINX_PID" "$STORE_PID"
    status=$?
    [ -n "$stopping" ] && break
    if [ "$ended" = "$NGINX_PID" ]; then
        NGINX_PID=
        echo "serve-store: nginx ended ($status)" >&2
        shutdown 1
    fi
    [ "$ended" = "$STORE_PID" ] || continue
    STORE_PID=
    if [ $((SECONDS - STORE_STARTED)) -lt 10 ]; then
        quick_deaths=$((quick_deaths + 1))
    else
        quick_deaths=1
    fi
    if [ "$quick_deaths" -ge 5 ]; then
        echo "serve-store: zarvostore keeps dying ($status); giving up" >&2
        shutdown 1
    fi
    echo "serve-store: zarvostore ended ($status); starting it again in a second" >&2
    sleep 1
    [ -n "$stopping" ] && break
    restart_store || shutdown 1
done
shutdown 0
