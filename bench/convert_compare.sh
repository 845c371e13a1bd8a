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

now_ns() { date +%s%N; }

# convert_all TOOL SRC_DIR OUT_DIR SRC_EXT DST_EXT: converts every source file, one process
# each; prints the elapsed milliseconds, or "-" when a conversion failed.
convert_all() {
    local tool=$1 src=$2 out=$3 from=$4 to=$5 start end
    mkdir -p "$out"
    start=$(now_ns)
    for ((i = 0; i < files; ++i)); do
        if [[ $tool == pixmora ]]; then
            "$pixmora" --convert "$src/$i.$from" "$out/$i.$to" 2>"$work/err.txt" || { echo "-"; return; }
        else
            "$magick" "$src/$i.$from" "$out/$i.$to" 2>"$work/err.txt" || { echo "-"; return; }
        fi
    done
    end=$(now_ns)
    echo $(((end - start) / 1000000))
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
    p=$(convert_all pixmora "$src" "$work/p-$from-$to" "$from" "$to")
    [[ $p == - ]] && echo "  (pixmora failed on $pair: $(head -c 300 "$work/err.txt"))"
    m=$(convert_all magick "$src" "$work/m-$from-$to" "$from" "$to")
    [[ $m == - ]] && echo "  (ImageMagick failed on $pair: $(head -c 300 "$work/err.txt"))"
    ratio=-
    [[ $p != - && $m != - && $m -gt 0 ]] && ratio=$(awk -v a="$p" -v b="$m" 'BEGIN { printf "%.2f", a / b }')
    printf '  %-10s %12s %12s %8s %14s %14s\n' "$from->$to" "$p" "$m" "$ratio" \
        "$(size "$work/p-$from-$to/0.$to")" "$(size "$work/m-$from-$to/0.$to")"
    rm -rf "$work/p-$from-$to" "$work/m-$from-$to"
done
echo "Ratio: pixmora time / ImageMagick time; below 1 means Pixmora is faster."
exit 0
