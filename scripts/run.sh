#!/usr/bin/env bash
# Starts the program from a build folder.
set -euo pipefail
build=${1:-build/debug}
if [ -x "$build/src/ui/qvprt" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display. Start the window under a virtual one:  xvfb-run -a $build/src/ui/qvprt" >&2
    exit 0
  fi
  exec "$build/src/ui/qvprt"
fi
exec "$build/src/cli/qvprt-cli" --version
