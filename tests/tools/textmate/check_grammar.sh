#!/usr/bin/env bash
# Checks the VS Code extension's TextMate grammar with vscode-textmate and vscode-oniguruma, fetched
# from the npm registry into a work folder; skipped (77) where node, npm or the registry is missing.
#   check_grammar.sh SOURCE_ROOT WORK_FOLDER
set -uo pipefail
root=$1
work=$2
if ! command -v node > /dev/null || ! command -v npm > /dev/null; then
  echo "node or npm is not installed: the grammar check is skipped"
  exit 77
fi
mkdir -p "$work"
if [ ! -d "$work/node_modules/vscode-textmate" ] || [ ! -d "$work/node_modules/vscode-oniguruma" ]; then
  if ! (cd "$work" && timeout 300 npm install --silent --no-audit --no-fund vscode-textmate@9 vscode-oniguruma@2); then
    echo "vscode-textmate could not be fetched from the npm registry: the grammar check is skipped"
    exit 77
  fi
fi
NODE_PATH="$work/node_modules" exec node "$root/tests/tools/textmate/tokenize_check.js" \
  "$root/editors/vscode/syntaxes/lumoidl.tmLanguage.json" "$root"/examples/*.idl "$root"/examples/broken/*.idl
