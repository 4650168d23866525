#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (the desktop ones under Xvfb and Xorg).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --preset default -j "$(nproc)"
scripts/fuzz-smoke.sh
