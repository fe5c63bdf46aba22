#!/usr/bin/env bash
# Builds the store's catalogue: the sample library's books plus poet
# collections (the most prolific Tang poets and Song ci poets, in volumes of
# at most 60 pieces), all from the same pinned corpus, into STOREDIR.
#   bash tools/samples/build-store-catalogue.sh STOREDIR
# Quick when nothing changed: the sample books keep their own stamp, the
# collections a stamp with the list of their ids. Packages of collections no
# longer made are removed, so the folder holds exactly the current catalogue.
# ZR_JOBS (default 2) packers run at once.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 STOREDIR" >&2
    exit 64
fi
OUTDIR=$1
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
STAMP=$OUTDIR/.catalogue-stamp
JOBS=${ZR_JOBS:-2}

# shellcheck source=tools/samples/corpus.sh
source "$HERE/corpus.sh"
check_tools

bash "$HERE/build-library.sh" "$OUTDIR"

# The stamp's first line says what made the collections, the rest are their ids.
WANT=$(stamp_text build-store-catalogue.sh)
collections_current() {
    [ -f "$STAMP" ] && [ "$(head -n1 "$STAMP")" = "$WANT" ] || return 1
    local id
    while read -r id; do
        [ -s "$OUTDIR/$id.vbp" ] || return 1
    done < <(tail -n +2 "$STAMP")
}
if collections_current; then
    echo "store catalogue up to date: $(($(wc -l <"$STAMP") - 1)) collections in $OUTDIR"
    exit 0
fi

fetch_corpus
extract_corpus

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
node "$HERE/convert.js" --poets "$CORPUS/dist" "$WORK" >"$WORK/ids" ||
    die "converting the poet collections failed"
[ -s "$WORK/ids" ] || die "the converter made no poet collections"

rm -f "$STAMP"
export -f pack_book die
export VBP
# shellcheck disable=SC2016 # expanded by the packing shell
xargs -P "$JOBS" -I{} bash -c 'pack_book "$0" "$1" "$2"' "$WORK" "$OUTDIR" {} <"$WORK/ids" ||
    die "packing the poet collections failed"

# Collections an earlier run made but this one did not.
for old in "$OUTDIR"/zr-poet-*.vbp "$OUTDIR"/zr-ci-*.vbp; do
    [ -e "$old" ] || continue
    grep -qxF "$(basename "$old" .vbp)" "$WORK/ids" || rm -f "$old"
done
{
    echo "$WANT"
    cat "$WORK/ids"
} >"$STAMP"
echo "store catalogue built: $(wc -l <"$WORK/ids") collections in $OUTDIR"
