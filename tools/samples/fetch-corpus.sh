#!/usr/bin/env bash
# Fetches the pinned chinese-poetry corpus into the samples' cache (checked
# against its pinned integrity) and unpacks it there, so the tests that read
# real texts find it. Quick when it is already there.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
# shellcheck source=tools/samples/corpus.sh
source "$HERE/corpus.sh"
command -v node >/dev/null || die "node is needed (scripts/deps.sh installs it)"
fetch_corpus
extract_corpus
