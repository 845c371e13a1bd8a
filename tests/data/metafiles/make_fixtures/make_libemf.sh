#!/usr/bin/env bash
# Makes libemf_shapes.emf with libEMF (libemf-dev) from libemf_shapes.cpp, and stores
# LibreOffice's rendering of it (soffice from libreoffice-draw, ImageMagick to cut it out of
# the page). Run from anywhere.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -Wall -o "$work/libemf_shapes" "$here/libemf_shapes.cpp" -lEMF
"$work/libemf_shapes" "$out/libemf_shapes.emf"
soffice -env:UserInstallation="file://$work/profile" --headless --convert-to png --outdir "$work" \
  "$out/libemf_shapes.emf" >/dev/null 2>&1
# LibreOffice centres the metafile on a white page; the grey background marks its extent.
convert "$work/libemf_shapes.png" -trim +repage PNG24:"$out/libemf_shapes.emf.lo.png"
identify "$out/libemf_shapes.emf.lo.png"
