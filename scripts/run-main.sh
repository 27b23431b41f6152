#!/usr/bin/env bash
# The main job: the program a user starts. Until the window exists it prints
# what the command-line tool sees in the default ball.
set -euo pipefail
bin="$1"
exec "$bin/plasmora-cli" info "$bin/models/ball6.met"
