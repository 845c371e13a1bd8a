#!/usr/bin/env bash
# A private X server for the tests: Xvfb (1920x1080, depth 24, RandR, MIT-SHM, no TCP) on a
# free display number, with the jwm window manager running on it.
#
#   xserver.sh start ENVFILE   starts both and writes DISPLAY, XVFB_PID and JWM_PID to ENVFILE
#   xserver.sh stop ENVFILE    ends the two processes named in ENVFILE and removes it
set -euo pipefail

usage() { echo "usage: $0 start|stop ENVFILE" >&2; exit 2; }
[[ $# -eq 2 ]] || usage
action=$1
envfile=$2

# Whether pid is a running process (an ended one waiting to be reaped by its parent counts
# as gone).
running() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [[ -n "$state" && "$state" != Z && "$state" != X ]]
}

stop_pid() {
    local pid=$1
    [[ -n "$pid" ]] || return 0
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 100); do
        running "$pid" || return 0
        sleep 0.05
    done
    kill -9 "$pid" 2>/dev/null || true
}

case $action in
start)
    for tool in Xvfb jwm xprop; do
        command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
    done
    dir=$(dirname "$envfile")
    mkdir -p "$dir"
    # An older server of the same build tree is ended first so no pair is ever left behind.
    if [[ -f "$envfile" ]]; then
        "$0" stop "$envfile" || true
    fi
    work=$(mktemp -d "${TMPDIR:-/tmp}/pixmora-x.XXXXXX")
    displayfile=$work/display
    : >"$displayfile"

    # Xvfb writes the display number it picked to the file descriptor given by -displayfd.
    # Its output goes to a log so that no pipe of the calling test runner stays open.
    Xvfb -displayfd 3 -screen 0 1920x1080x24 +extension RANDR +extension MIT-SHM \
        -nolisten tcp -noreset 3>"$displayfile" </dev/null >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    display=
    for _ in $(seq 200); do
        if grep -q . "$displayfile" 2>/dev/null; then
            display=:$(head -n1 "$displayfile" | tr -d '[:space:]')
            break
        fi
        running "$xvfb_pid" || break
        sleep 0.05
    done
    if [[ -z "$display" ]]; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2 || true
        stop_pid "$xvfb_pid"
        exit 1
    fi

    # A fixed window manager configuration: one desktop, no tray (its clock would change the
    # screen between two grabs), click to focus.
    cat >"$work/jwmrc" <<'JWMRC'
<?xml version="1.0"?>
<JWM>
    <Desktops width="1" height="1"/>
    <FocusModel>click</FocusModel>
</JWM>
JWMRC
    DISPLAY=$display jwm -f "$work/jwmrc" </dev/null >"$work/jwm.log" 2>&1 &
    jwm_pid=$!

    # The window manager is ready once it has announced itself on the root window.
    ready=
    for _ in $(seq 200); do
        if DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            ready=1
            break
        fi
        running "$jwm_pid" || break
        sleep 0.05
    done
    if [[ -z "$ready" ]]; then
        echo "jwm did not start on $display:" >&2
        cat "$work/jwm.log" >&2 || true
        stop_pid "$jwm_pid"
        stop_pid "$xvfb_pid"
        exit 1
    fi

    tmpenv=$(mktemp "$dir/.xserver-env.XXXXXX")
    {
        echo "DISPLAY=$display"
        echo "XVFB_PID=$xvfb_pid"
        echo "JWM_PID=$jwm_pid"
        echo "XSERVER_WORK=$work"
    } >"$tmpenv"
    mv "$tmpenv" "$envfile"
    echo "X server $display (Xvfb $xvfb_pid, jwm $jwm_pid)"
    ;;
stop)
    [[ -f "$envfile" ]] || exit 0
    xvfb_pid=$(sed -n 's/^XVFB_PID=//p' "$envfile")
    jwm_pid=$(sed -n 's/^JWM_PID=//p' "$envfile")
    work=$(sed -n 's/^XSERVER_WORK=//p' "$envfile")
    stop_pid "$jwm_pid"
    stop_pid "$xvfb_pid"
    if [[ -n "$work" && -d "$work" && "$work" == */pixmora-x.* ]]; then
        rm -rf "$work"
    fi
    rm -f "$envfile"
    ;;
*)
    usage
    ;;
esac
