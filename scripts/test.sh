#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$ZAVUV_BUILD"
ctest --output-on-failure -j "$(nproc)" "$@"
