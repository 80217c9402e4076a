#!/usr/bin/env bash
# Runs neovim_session.lua in a headless Neovim against the tool; exits 77 (skipped) without Neovim.
set -euo pipefail
if ! command -v nvim > /dev/null 2>&1; then
  echo "skipped: Neovim (nvim) is not installed; scripts/setup.sh installs it"
  exit 77
fi
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export LUMOIDL_TOOL="$1" LUMOIDL_EXAMPLES="$2"
export XDG_CONFIG_HOME="$home" XDG_DATA_HOME="$home" XDG_STATE_HOME="$home" XDG_CACHE_HOME="$home"
exec nvim --headless -u NONE -i NONE -n \
  -c "lua local ok, e = pcall(dofile, '$(dirname "$0")/neovim_session.lua'); if not ok then io.stderr:write(e .. '\n'); vim.cmd('cquit 2') end"
