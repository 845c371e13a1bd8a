#!/usr/bin/env bash
# Installs what is missing (Debian packages), then configures and builds Pixmora in build/.
# Sourced by start.sh and test.sh; safe to run again: nothing is installed or rebuilt twice.
set -euo pipefail
PIXMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PIXMORA_BUILD=${PIXMORA_BUILD:-$PIXMORA_ROOT/build}

packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libxcb1-dev libxcb-shm0-dev libxcb-xfixes0-dev libxcb-randr0-dev libxcb-xtest0-dev
  libx11-dev libx11-xcb-dev libxfixes-dev
  libcanberra-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev libgif-dev libtiff-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth jwm xdotool x11-apps x11-utils xclip imagemagick libtiff-tools libjpeg-turbo-progs
  libwmf-bin fonts-urw-base35
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
# Paths below the checkout count as relative, so another clone reuses the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PIXMORA_ROOT}
if [ ! -f "$PIXMORA_BUILD/build.ninja" ]; then
  cmake -S "$PIXMORA_ROOT" -B "$PIXMORA_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$PIXMORA_BUILD" --parallel "$(nproc)"
