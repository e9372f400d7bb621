#!/usr/bin/env bash
# Both programs name the project's version; tarvel answers --version without a
# display (no window is opened for it) and refuses an argument it does not know.
# usage: version_check.sh TARVEL TARVEL_CALC VERSION
set -euo pipefail
tarvel="$1"
calc="$2"
version="$3"
fail() { echo "version: $*" >&2; exit 1; }

# No display and the X11 platform: creating the application would abort.
said="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$tarvel" --version)" ||
  fail "tarvel --version failed without a display"
[ "$said" = "tarvel $version" ] || fail "tarvel --version printed '$said'"
said="$("$calc" --version)" || fail "tarvel-calc --version failed"
[ "$said" = "tarvel-calc $version" ] || fail "tarvel-calc --version printed '$said'"

status=0
err="$(QT_QPA_PLATFORM=offscreen "$tarvel" --no-such-option 2>&1 >/dev/null)" || status=$?
[ "$status" -eq 2 ] || fail "tarvel with an unknown argument ended with status $status"
grep -q -- '--no-such-option' <<<"$err" || fail "tarvel did not name the unknown argument: $err"
echo "version: both programs say $version"
