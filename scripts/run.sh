#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program; its
# arguments (e.g. --simulate, a project file) go to zavuv.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
exec "$ZAVUV_BUILD/src/app/zavuv" "$@"
