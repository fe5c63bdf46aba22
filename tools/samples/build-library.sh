#!/usr/bin/env bash
# Builds the sample library: fetches the chinese-poetry corpus (pinned version,
# checked against its pinned integrity), converts it into JSON books and packs
# each into OUTDIR/<book id>.vbp with the vbp program.
#   bash tools/samples/build-library.sh OUTDIR
# Quick when nothing changed: a stamp in OUTDIR records the corpus version and
# the hash of everything that shapes the packages.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 64
fi
OUTDIR=$1
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)

STAMP=$OUTDIR/.samples-stamp

# shellcheck source=tools/samples/corpus.sh
source "$HERE/corpus.sh"
check_tools

books_present() {
    local id
    for id in "$@"; do
        [ -s "$OUTDIR/$id.vbp" ] || return 1
    done
}

BOOK_IDS=(zr-lunyu zr-mengzi zr-daxue zr-zhongyong zr-shijing zr-chuci zr-sanzijing
    zr-qianziwen zr-tangshi300 zr-guwenguanzhi zr-songci300 zr-quantangshi)

WANT=$(stamp_text build-library.sh)
if [ -f "$STAMP" ] && [ "$(cat "$STAMP")" = "$WANT" ] && books_present "${BOOK_IDS[@]}"; then
    echo "sample library up to date: $OUTDIR"
    exit 0
fi

fetch_corpus
extract_corpus

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
node "$HERE/convert.js" "$CORPUS/dist" "$WORK" >/dev/null || die "converting the corpus failed"

mkdir -p "$OUTDIR"
rm -f "$STAMP"
for id in "${BOOK_IDS[@]}"; do
    pack_book "$WORK" "$OUTDIR" "$id"
done
echo "$WANT" >"$STAMP"
echo "sample library built: ${#BOOK_IDS[@]} books in $OUTDIR"
