#!/usr/bin/env bash
# Installs what is missing, makes a release build with its Data/ folder and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset release
cmake --build --preset release
cmake --build --preset release --target data

# Without a display (a server, a container) the game runs in a virtual one.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
  exec xvfb-run -a build/release/fairlark "$@"
fi
exec build/release/fairlark "$@"
