#!/usr/bin/env bash
# Makes packaging/screenshots/main-window.png again: builds the screenshot
# program and runs it under Xvfb on the worked example. Run after a change
# that alters the look of the main window, and commit the new picture.
#
#   packaging/screenshot/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}

cmake --build "$build" --target wormgear_screenshot
# No server is asked for the notice line or the version: port 9 (discard) is closed.
WORMGEAR_SERVER=http://127.0.0.1:9 QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
  "$build/bin/wormgear_screenshot" packaging/screenshots/main-window.png
echo "packaging/screenshots/main-window.png"
