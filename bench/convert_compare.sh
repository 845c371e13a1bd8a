#!/usr/bin/env bash
# Whole-process file conversion timings: `pixmora --convert` against ImageMagick's convert,
# one process per file, on a photo-like 800x600 picture.
#
#   bench/convert_compare.sh [PIXMORA] [FILES]
#
# PIXMORA is the program (default: build/bin/pixmora), FILES the number of source files per
# pair (default 200). For every pair both tools convert the same files in the same run; the
# script prints the total time of each tool per pair and the ratio pixmora / ImageMagick
# (below 1 means Pixmora is faster). Never fails because one side is slower; it only reports.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
pixmora=${1:-$root/build/bin/pixmora}
files=${2:-200}
# Debian's ImageMagick itself, not whatever `convert` comes first on PATH.
magick=/usr/bin/convert

[[ -x $magick ]] || { echo "convert_compare: $magick is not installed" >&2; exit 1; }
[[ -x $pixmora ]] || { echo "convert_compare: no program at $pixmora" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/pixmora-convert-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# One photo-like picture (soft gradients and fine noise), made once, in every source type.
"$magick" -seed 7 -size 800x600 plasma:fractal -blur 0x0.6 "$work/photo.png" || exit 1
"$magick" "$work/photo.png" -type TrueColor "BMP3:$work/photo.bmp" || exit 1
"$magick" "$work/photo.png" -quality 90 "$work/photo.jpg" || exit 1

pairs=(bmp:jpg jpg:bmp bmp:png png:jpg jpg:png bmp:gif)

# convert_pair SRC_DIR FROM TO: converts every source file with both tools, taking turns file
# by file so that a change in the machine's speed during the run hits both alike. Sets
# p_ms and m_ms to the total milliseconds of each tool, or "-" when one of its runs failed.
convert_pair() {
    local src=$1 from=$2 to=$3 start p_us=0 m_us=0
    mkdir -p "$work/p-$from-$to" "$work/m-$from-$to"
    p_ms=-; m_ms=-
    for ((i = 0; i < files; ++i)); do
        start=${EPOCHREALTIME/./}
        "$pixmora" --convert "$src/$i.$from" "$work/p-$from-$to/$i.$to" 2>"$work/err.txt" \
            || { echo "  (pixmora failed on $from->$to: $(head -c 300 "$work/err.txt"))"; return; }
        p_us=$((p_us + ${EPOCHREALTIME/./} - start))
        start=${EPOCHREALTIME/./}
        "$magick" "$src/$i.$from" "$work/m-$from-$to/$i.$to" 2>"$work/err.txt" \
            || { echo "  (ImageMagick failed on $from->$to: $(head -c 300 "$work/err.txt"))"; return; }
        m_us=$((m_us + ${EPOCHREALTIME/./} - start))
    done
    p_ms=$((p_us / 1000)); m_ms=$((m_us / 1000))
}

size() { [[ -f $1 ]] && stat -c %s "$1" || echo -; }

echo "Converting $files files per pair, one process per file (800x600 photo-like picture)"
printf '  %-10s %12s %12s %8s %14s %14s\n' pair "pixmora ms" "magick ms" ratio "pixmora bytes" "magick bytes"
for pair in "${pairs[@]}"; do
    from=${pair%%:*}
    to=${pair##*:}
    src=$work/src-$from
    if [[ ! -d $src ]]; then
        mkdir -p "$src"
        # Separate names, shared data: the files are hard links to one picture.
        for ((i = 0; i < files; ++i)); do ln "$work/photo.$from" "$src/$i.$from"; done
    fi
    convert_pair "$src" "$from" "$to"
    p=$p_ms m=$m_ms
    ratio=-
    [[ $p != - && $m != - && $m -gt 0 ]] && ratio=$(awk -v a="$p" -v b="$m" 'BEGIN { printf "%.2f", a / b }')
    printf '  %-10s %12s %12s %8s %14s %14s\n' "$from->$to" "$p" "$m" "$ratio" \
        "$(size "$work/p-$from-$to/0.$to")" "$(size "$work/m-$from-$to/0.$to")"
    rm -rf "$work/p-$from-$to" "$work/m-$from-$to"
done
echo "Ratio: pixmora time / ImageMagick time; below 1 means Pixmora is faster."
exit 0
