#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in a prefix of the project's own.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
wine="$(command -v wine64 || true)"
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
export WINEPREFIX="${LUMOIDL_WINEPREFIX:-$here/build-windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
exec "$wine" "$@"
