#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit, integration, UI,
# and the replay of every fuzz corpus).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
# The text-import tests read real texts from the sample corpus.
bash tools/samples/fetch-corpus.sh
cd "${ZR_BUILD_DIR:-build}"
ctest --output-on-failure -j "$(nproc)"
