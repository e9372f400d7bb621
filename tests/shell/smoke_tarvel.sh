#!/usr/bin/env bash
# Starts the real program under a virtual X display with a stored data set,
# waits for its main window, ends it with Ctrl+Q and checks that the settings
# were written on the way out.
# usage: smoke_tarvel.sh TARVEL_BINARY EXAMPLE_DATA_SET
set -euo pipefail
binary="$1"
example="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/config/Morvik/tarvel"
cp "$example" "$work/config/Morvik/tarvel/ModelData"
rm -f "$work/config/Morvik/tarvel/ModelData.written"

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
"$TARVEL" & pid=$!
# The splash shows for three seconds; then the main window ("Tarvel") appears.
window=""
for _ in $(seq 1 100); do
  window="$(xdotool search --onlyvisible --name '^Tarvel$' 2>/dev/null | tail -n 1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "smoke: the main window did not appear" >&2
  kill "$pid"
  exit 1
fi
sleep 1.5
touch "$XDG_CONFIG_HOME/Morvik/tarvel/before-quit"
# Without a window manager, a click into a control that takes the focus (the
# annotation memo) is what makes the window active, which the shortcut needs.
xdotool mousemove --window "$window" 600 100 click 1
sleep 0.3
xdotool key ctrl+q
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "smoke: Ctrl+Q did not end the program" >&2
  kill "$pid"
  exit 1
fi
wait "$pid"
SESSION
chmod +x "$work/session.sh"

XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg" TARVEL="$binary" \
  QT_QPA_PLATFORM=xcb xvfb-run -a "$work/session.sh"

stored="$work/config/Morvik/tarvel/ModelData"
if [ ! "$stored" -nt "$work/config/Morvik/tarvel/before-quit" ]; then
  echo "smoke: the settings were not written when the program ended" >&2
  exit 1
fi
grep -q '^\[DataBegin' "$stored" || { echo "smoke: the stored settings are not a data set" >&2; exit 1; }
echo "smoke: main window appeared, Ctrl+Q stored the settings and ended the program"
