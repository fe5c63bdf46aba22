#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12. Quick when
# everything is already there: apt is asked only for what is missing.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools qt6-l10n-tools qt6-qpa-plugins
    qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
    qml6-module-qtquick-window qml6-module-qtquick-templates qml6-module-qtqml
    qml6-module-qtqml-workerscript qml6-module-qtqml-models libqt6sql6-sqlite
    pkg-config libbenchmark-dev
    python3 python3-dbusmock dbus dbus-bin
    fonts-noto-cjk sqlite3 curl ca-certificates nginx postgresql libqt6sql6-psql
    wrk apache2-utils
    libopencc-dev libopencc1.1 libopencc-data
    dpkg-dev desktop-file-utils appstream
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Node.js with npm fetches the sample texts; Debian's nodejs and npm, unless a
# node that brings its own npm is already installed.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
