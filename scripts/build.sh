#!/usr/bin/env bash
# Configures and builds the default preset into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
