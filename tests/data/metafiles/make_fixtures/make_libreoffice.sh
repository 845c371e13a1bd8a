#!/usr/bin/env bash
# Makes the LibreOffice metafile fixtures: draws shapes.svg (a cream background over the
# whole 200 x 150 pixel canvas, a red rectangle, a blue ellipse, a green and a black line,
# black text and a 16 x 16 bitmap of four coloured quarters), exports it as WMF and EMF with
# LibreOffice, and stores LibreOffice's own rendering of each exported file, cut out of the
# page it puts it on. Needs soffice (libreoffice-draw) and ImageMagick; run from anywhere.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lo() { soffice -env:UserInstallation="file://$work/profile" --headless "$@" >/dev/null 2>&1; }

convert -size 8x8 xc:'#FF8000' -size 8x8 xc:'#00C0C0' +append \
  \( -size 8x8 xc:'#800080' -size 8x8 xc:'#FFFF00' +append \) -append PNG24:"$work/quarters.png"
bitmap=$(base64 -w0 "$work/quarters.png")
sed "s|@BITMAP@|$bitmap|" "$here/shapes.svg.in" > "$work/lo_shapes.svg"

for type in wmf emf; do
  lo --convert-to "$type" --outdir "$work" "$work/lo_shapes.svg"
  cp "$work/lo_shapes.$type" "$out/lo_shapes.$type"
  mkdir -p "$work/render_$type"
  lo --convert-to png --outdir "$work/render_$type" "$out/lo_shapes.$type"
  # LibreOffice centres the metafile on a white page; the cream background marks its extent.
  convert "$work/render_$type/lo_shapes.png" -trim +repage PNG24:"$out/lo_shapes.$type.lo.png"
  identify "$out/lo_shapes.$type.lo.png"
done
