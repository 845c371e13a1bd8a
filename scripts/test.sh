#!/usr/bin/env bash
# Builds Pixmora with its tests (installing what is missing) and runs every test.
# The end-to-end tests start their own Xvfb server with the jwm window manager.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ctest --test-dir "$PIXMORA_BUILD" --output-on-failure --parallel "$(nproc)" "$@"
