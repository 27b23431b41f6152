#!/usr/bin/env bash
# The main job: starts the sculptor from a build's bin/ folder on its default ball.
set -euo pipefail
bin="$1"
exec "$bin/plasmora"
