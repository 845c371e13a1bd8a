#!/usr/bin/env bash
# Whole-process screen grab timings: Pixmora against the standard X tools, on a private
# 1920x1080x24 Xvfb whose root window shows a photo-like picture (so PNG has work to do).
#
#   bench/grab_compare.sh [PIXMORA] [GRAB_BENCH] [RUNS]
#
# PIXMORA is the program (default: build/bin/pixmora), GRAB_BENCH the in-process benchmark
# binary (optional), RUNS the number of runs per command (default 20). Prints the median time
# of each command and the ratios. Never fails because one side is slower; it only reports.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
pixmora=${1:-$root/build/bin/pixmora}
grab_bench=${2:-}
runs=${3:-20}

for tool in Xvfb jwm xwd import display; do
    command -v "$tool" >/dev/null || { echo "grab_compare: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pixmora-bench.XXXXXX")
envfile=$work/xserver.env
cleanup() {
    "$root/tests/e2e/xserver.sh" stop "$envfile" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

"$root/tests/e2e/xserver.sh" start "$envfile" >/dev/null || { echo "grab_compare: no X server" >&2; exit 1; }
DISPLAY=$(sed -n 's/^DISPLAY=//p' "$envfile")
export DISPLAY

# A fixed, busy picture as the root window's background (display reports a harmless error
# status when it hands the root window over).
display -seed 7 -size 1920x1080 -window root plasma:fractal >/dev/null 2>&1 || true
if ! xwd -root -silent >"$work/check.xwd" 2>/dev/null; then
    echo "grab_compare: xwd cannot read the screen" >&2
    exit 1
fi

now_ns() { date +%s%N; }

# median_ms NAME COMMAND...: runs COMMAND $runs times (output to $work), prints the median
# in milliseconds, or "-" when the command failed.
median_ms() {
    local times=() start end
    for ((i = 0; i < runs; ++i)); do
        start=$(now_ns)
        if ! "$@" >/dev/null 2>"$work/err.txt"; then
            echo "-"
            return
        fi
        end=$(now_ns)
        times+=($(((end - start) / 1000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{v[NR] = $1} END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f\n", m / 1000 }'
}

xwd_root() { xwd -root -silent >"$work/x.xwd"; }
import_root() { import -window root "$work/i.png"; }
pixmora_bmp() { "$pixmora" --grab desktop --output "$work/p.bmp"; }
pixmora_png() { "$pixmora" --grab desktop --output "$work/p.png"; }

echo "Screen grab, 1920x1080x24, median of $runs runs (ms)"
declare -A ms
ms[xwd]=$(median_ms xwd_root)
ms[import]=$(median_ms import_root)
ms[bmp]=-
ms[png]=-
if [[ ! -x "$pixmora" ]]; then
    echo "  (no program at $pixmora)"
else
    ms[bmp]=$(median_ms pixmora_bmp)
    [[ ${ms[bmp]} == - ]] && echo "  (pixmora --grab failed: $(head -c 300 "$work/err.txt"))"
    ms[png]=$(median_ms pixmora_png)
fi

size() { [[ -f $1 ]] && stat -c %s "$1" || echo -; }
printf '  %-44s %10s ms %12s bytes\n' \
    "pixmora --grab desktop --output x.bmp" "${ms[bmp]}" "$(size "$work/p.bmp")" \
    "pixmora --grab desktop --output x.png" "${ms[png]}" "$(size "$work/p.png")" \
    "xwd -root -silent > x.xwd" "${ms[xwd]}" "$(size "$work/x.xwd")" \
    "import -window root x.png" "${ms[import]}" "$(size "$work/i.png")"

ratio() {
    local label=$1 a=$2 b=$3
    if [[ $a == - || $b == - ]]; then
        printf '  %-44s %10s\n' "$label" "-"
    else
        awk -v a="$a" -v b="$b" -v l="$label" 'BEGIN { printf "  %-44s %10.2f\n", l, (b > 0 ? a / b : 0) }'
    fi
}
echo "Ratios (time of the first / time of the second; below 1 means Pixmora is faster)"
ratio "Pixmora BMP / xwd" "${ms[bmp]}" "${ms[xwd]}"
ratio "Pixmora PNG / import PNG" "${ms[png]}" "${ms[import]}"
ratio "Pixmora PNG / xwd" "${ms[png]}" "${ms[xwd]}"
ratio "Pixmora BMP / import PNG" "${ms[bmp]}" "${ms[import]}"

if [[ -n "$grab_bench" && -x "$grab_bench" ]]; then
    echo "In-process grab of the whole screen"
    "$grab_bench" --benchmark_min_time=0.5 2>&1 | grep -E '^(Grab|BM_|-|Benchmark)' || true
fi
exit 0
