#!/usr/bin/env bash
# Redraws docs/screenshots/*.png: builds, then runs zavuv-screenshots under a
# virtual X display (Xvfb), so that the windows are drawn as on a desktop.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

if ! command -v xvfb-run >/dev/null; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq xvfb xauth >&2
fi

# The tool keeps its profile and demonstration project in a folder of its own.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    "$ZAVUV_BUILD/tools/zavuv-screenshots" "$ZAVUV_ROOT/docs/screenshots"
