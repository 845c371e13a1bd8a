#!/usr/bin/env bash
# Builds Pixmora (installing what is missing) and starts it on the current X display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
Pixmora needs an X display, and DISPLAY is not set.
Start it from a desktop session, or start a virtual display first, for example:
  Xvfb :5 -screen 0 1920x1080x24 &  jwm -display :5 &  DISPLAY=:5 scripts/start.sh
MSG
  exit 1
fi
exec "$PIXMORA_BUILD/bin/pixmora" "$@"
