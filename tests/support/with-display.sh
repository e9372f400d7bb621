#!/usr/bin/env bash
# Runs a command on a virtual X display of its own: Xvfb picks a free display
# number itself (-displayfd) and reports it, so two runs starting at the same
# moment, in one test run or in several, never race for one number as
# "xvfb-run -a" can.
#   with-display.sh [-s "SERVER ARGS"] COMMAND [ARGS...]
set -euo pipefail
server_args="-screen 0 1280x1024x24"
if [ "${1:-}" = -s ]; then
  server_args="$2"
  shift 2
fi
fifo_dir="$(mktemp -d)"
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT
mkfifo "$fifo_dir/display"
# shellcheck disable=SC2086 # the server's arguments are words
Xvfb -displayfd 3 -nolisten tcp $server_args 3>"$fifo_dir/display" 2>"$fifo_dir/log" &
xvfb=$!
if ! read -r -t 30 number <"$fifo_dir/display"; then
  echo "with-display: Xvfb did not start:" >&2
  cat "$fifo_dir/log" >&2
  exit 1
fi
DISPLAY=":$number" "$@"
