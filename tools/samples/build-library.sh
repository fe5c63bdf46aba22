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

PACKAGE=chinese-poetry
VERSION=2.0.1
INTEGRITY="sha512-KtYARvV7CWNtax0na9+Jn6PlhGgSoid7PWyDzXI4KsCEm2odZcqEQyval5koaLygZnM/EQ3lfJ//25K8p3uHNg=="
# Only these corpus folders feed the books; the rest of the tarball stays packed.
CORPUS_DIRS=(lunyu sishuwujing shijing chuci mengxue songci quantangshi)

BUILD_DIR=${ZR_BUILD_DIR:-build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
VBP=${ZR_VBP:-$BUILD_DIR/bin/vbp}
CACHE=${ZR_SAMPLES_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarvoreader}
TARBALL=$CACHE/$PACKAGE-$VERSION.tgz
CORPUS=$CACHE/$PACKAGE-$VERSION
STAMP=$OUTDIR/.samples-stamp

die() {
    echo "build-library: $*" >&2
    exit 1
}

[ -x "$VBP" ] || die "no vbp program at $VBP (build the project first)"
command -v node >/dev/null || die "node is needed (scripts/deps.sh installs it)"

# Everything that decides the bytes of a package: the corpus version, the
# converter, this script and the packer's sources.
stamp_text() {
    local sources
    sources=$(cd "$ROOT" && cat tools/samples/convert.js tools/samples/build-library.sh \
        tools/vbp/*.h tools/vbp/*.cpp | sha256sum | cut -d' ' -f1)
    echo "$PACKAGE@$VERSION $INTEGRITY $sources"
}

books_present() {
    local id
    for id in "$@"; do
        [ -s "$OUTDIR/$id.vbp" ] || return 1
    done
}

# The npm registry's form: "sha512-" and the base64 SHA-512 of the tarball.
integrity_of() {
    node -e 'const c = require("crypto"), f = require("fs");
        process.stdout.write("sha512-" + c.createHash("sha512").update(f.readFileSync(process.argv[1])).digest("base64"));' "$1"
}

fetch_corpus() {
    mkdir -p "$CACHE"
    if [ -f "$TARBALL" ] && [ "$(integrity_of "$TARBALL")" = "$INTEGRITY" ]; then
        return
    fi
    rm -f "$TARBALL"
    echo "fetching $PACKAGE@$VERSION"
    (cd "$CACHE" && npm pack --silent "$PACKAGE@$VERSION" >/dev/null) ||
        die "npm pack $PACKAGE@$VERSION failed"
    [ -f "$TARBALL" ] || die "npm pack did not leave $TARBALL"
    local got
    got=$(integrity_of "$TARBALL")
    if [ "$got" != "$INTEGRITY" ]; then
        mv -f "$TARBALL" "$TARBALL.rejected"
        die "INTEGRITY MISMATCH for $PACKAGE@$VERSION: expected $INTEGRITY, got $got (kept as $TARBALL.rejected)"
    fi
}

extract_corpus() {
    local marker=$CORPUS/.extracted
    if [ -f "$marker" ] && [ "$(cat "$marker")" = "$INTEGRITY" ]; then
        return
    fi
    local staging
    staging=$(mktemp -d "$CACHE/extract.XXXXXX")
    local members=()
    local dir
    for dir in "${CORPUS_DIRS[@]}"; do members+=("package/dist/$dir"); done
    tar -xzf "$TARBALL" -C "$staging" "${members[@]}" || {
        rm -rf "$staging"
        die "cannot extract $TARBALL"
    }
    echo "$INTEGRITY" >"$staging/package/.extracted"
    rm -rf "$CORPUS"
    mv "$staging/package" "$CORPUS"
    rmdir "$staging"
}

BOOK_IDS=(zr-lunyu zr-mengzi zr-daxue zr-zhongyong zr-shijing zr-chuci zr-sanzijing
    zr-qianziwen zr-tangshi300 zr-guwenguanzhi zr-songci300 zr-quantangshi)

WANT=$(stamp_text)
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
    [ -f "$WORK/$id.json" ] || die "the converter wrote no $id.json"
    "$VBP" pack -o "$OUTDIR/$id.vbp" "$WORK/$id.json" 2>"$WORK/pack.err" >/dev/null || {
        cat "$WORK/pack.err" >&2
        die "packing $id failed"
    }
    # Every book must open with the program's own reader.
    code=0
    "$VBP" info "$OUTDIR/$id.vbp" >/dev/null 2>"$WORK/info.err" || code=$?
    if [ "$code" -ne 0 ]; then
        cat "$WORK/info.err" >&2
        die "$id.vbp does not open (vbp info exit code $code)"
    fi
done
echo "$WANT" >"$STAMP"
echo "sample library built: ${#BOOK_IDS[@]} books in $OUTDIR"
