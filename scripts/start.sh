#!/usr/bin/env bash
# Installs what is missing, builds, and starts the show from the folder that holds its data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build/show
exec ./pelvaro
