#!/usr/bin/env bash
# Installs what is needed, builds, builds the sample library and the store's
# catalogue, starts the store server behind nginx and the reader. Without a
# display the screens are rendered to PNG files instead, and their folder is
# printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
BUILD_DIR=$(pwd)/${ZR_BUILD_DIR:-build}

export ZARVOREADER_ROOT=${ZARVOREADER_ROOT:-$HOME/.local/share/zarvoreader}
echo "data root: $ZARVOREADER_ROOT"
bash tools/samples/build-library.sh "$ZARVOREADER_ROOT/opt/ZarvoReader/preinstall/books"
# The store's books are the server's, not the device's: they stay out of the data root.
STORE_BOOKS=$BUILD_DIR/store-books
bash tools/samples/build-store-catalogue.sh "$STORE_BOOKS"

SERVER_PID=
if [ -x "$BUILD_DIR/bin/zarvostore" ]; then
    export ZARVOREADER_STORE=${ZARVOREADER_STORE:-127.0.0.1:8080}
    # The store's ledger (user ids, balances, orders, bought books) outlives
    # the server, like a real store's; it lives beside the reader's data root.
    STORE_DATA=${ZR_STORE_DATA:-$(dirname "$ZARVOREADER_ROOT")/zarvostore}
    echo "store ledger: $STORE_DATA"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        # The screenshot tour trickles downloads through a relay on the next
        # port, so one is seen under way: the store's links must name it.
        RELAY_PORT=$(( ${ZARVOREADER_STORE##*:} + 1 ))
        export ZR_SHOTS_RELAY_PORT=$RELAY_PORT
        export ZR_STORE_PUBLIC_URL=http://127.0.0.1:$RELAY_PORT/
    fi
    # nginx in front of zarvostore, as the store is deployed.
    ZR_BUILD_DIR=$BUILD_DIR bash scripts/serve-store.sh "${ZARVOREADER_STORE##*:}" \
        "$STORE_BOOKS" "$STORE_DATA" &
    SERVER_PID=$!
    trap '[ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2>/dev/null && wait "$SERVER_PID" || true' EXIT
    # The store reads its catalogue first; the reader's first request should
    # find it listening.
    for _ in $(seq 300); do
        curl -s -o /dev/null -f "http://$ZARVOREADER_STORE/vorelreader/keywords.action" && break
        kill -0 "$SERVER_PID" 2>/dev/null || { echo "the store server did not start"; SERVER_PID=; break; }
        sleep 0.2
    done
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    SHOTS=${ZR_SCREENSHOT_DIR:-$BUILD_DIR/screenshots}
    # Every screen in each language of the reader, as a user of that locale sees it.
    for lang in zh en; do
        LANGUAGE=$lang QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
            "$BUILD_DIR/bin/zarvoshots" "$SHOTS/$lang"
    done
    echo "no display: the screens were rendered to $SHOTS/zh and $SHOTS/en"
else
    "$BUILD_DIR/bin/zarvoreader"
fi
