#!/usr/bin/env bash
# Installs what is missing, builds, and shows the command-line program at work.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
"$ZAVUV_BUILD/src/cli/zavuv-cli" --help
"$ZAVUV_BUILD/src/cli/zavuv-cli" devices
