#!/usr/bin/env bash
# Runs a command on a virtual X display of its own: Xvfb picks a free display
# number itself (-displayfd) and reports it. Two servers starting at the same
# moment, or one starting while another ends, can still trip over each other's
# sockets, so servers start and end one at a time on this machine (a lock file
# held until a new server answers, or an old one is gone); then runs in one
# test run or in several never share or lose a display, as "xvfb-run -a" can.
#   with-display.sh [-s "SERVER ARGS"] COMMAND [ARGS...]
set -euo pipefail
server_args="-screen 0 1280x1024x24"
if [ "${1:-}" = -s ]; then
  server_args="$2"
  shift 2
fi
fifo_dir="$(mktemp -d)"
lock="${TMPDIR:-/tmp}/tarvel-with-display.lock"
# A server that ends takes down its socket: no other may start meanwhile, or
# it could lose the socket of the number it was just given.
stop_server() {
  exec 9>"$lock"
  flock 9
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$fifo_dir"
}
trap stop_server EXIT
mkfifo "$fifo_dir/display"
exec 9>"$lock"
flock 9
# -noreset: a server resets when its last client leaves, and turns new ones
# away while it does (the readiness probe below is such a client).
# shellcheck disable=SC2086 # the server's arguments are words
Xvfb -displayfd 3 -nolisten tcp -noreset $server_args 3>"$fifo_dir/display" 2>"$fifo_dir/log" &
xvfb=$!
if ! read -r -t 30 number <"$fifo_dir/display"; then
  echo "with-display: Xvfb did not start:" >&2
  cat "$fifo_dir/log" >&2
  exit 1
fi
export DISPLAY=":$number"
# The number comes as the server starts; a client that connects before it
# listens is turned away, so wait until it answers.
for _ in $(seq 1 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
flock -u 9
exec 9>&-
"$@"
