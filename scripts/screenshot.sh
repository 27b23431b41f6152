#!/usr/bin/env bash
# Takes a picture of the sculptor's window under a virtual X server:
#   scripts/screenshot.sh BIN_DIR OUT.png
# Needs xvfb-run and ImageMagick's `import`.
set -euo pipefail
bin="$(cd "$1" && pwd)"
out="$(realpath -m "$2")"
export PLASMORA_NO_SPLASH=1 PLASMORA_MESSAGES=stderr
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME="$config"   # the shipped preferences, not the user's

xvfb-run -a -s "-screen 0 1280x860x24" bash -c '
  "$0/plasmora" & pid=$!
  sleep "${PLASMORA_SHOT_DELAY:-6}"
  import -window root "$1"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
' "$bin" "$out"
echo "wrote $out"
