#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing wormgear
# need (OpenCASCADE for the solids and their STEP files: its CMake
# configuration links TBB and fontconfig by their development libraries,
# which its packages do not pull, hence libtbb-dev and libfontconfig-dev). Only
# missing packages are installed; run as root (or through sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev libgl-dev qt6-svg-dev
  qt6-charts-dev libqt6opengl6-dev
  libzip-dev libpugixml-dev libfreexl-dev libcurl4-openssl-dev
  fonts-wqy-microhei fonts-dejavu-core xvfb xauth
  libqt6svg6 help2man
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libocct-data-exchange-dev libocct-visualization-dev libtbb-dev libfontconfig-dev
)
# Extra packages for the test command: GoogleTest and Google Benchmark, clang
# with its fuzzer runtime, Python for the golden-design runner, OpenSSL's
# headers for the tests' own HTTPS server, the desktop's validators and
# package tools for the install and package tests, the independent readers
# of the drawings and the report (ezdxf, poppler, LibreCAD, matplotlib) and of design files
# (openpyxl), and the locale sources for a run in a comma locale.
if [ "${1:-}" = "--test" ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev python3 libssl-dev python3-ezdxf poppler-utils python3-openpyxl)
  # LibreCAD and ezdxf's matplotlib renderer draw the drawings' Chinese; fontTools makes LibreCAD's Chinese font.
  packages+=(librecad python3-matplotlib python3-fonttools python3-pil)
  packages+=(desktop-file-utils appstream shared-mime-info bash-completion dpkg-dev file)
  packages+=(locales)
fi
if [ "${WORMGEAR_WITH_LIBREOFFICE:-0}" = "1" ]; then
  packages+=(libreoffice-calc-nogui)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
