#!/usr/bin/env bash
# Starts the real program under a virtual X display and checks what a user
# sees first.
#   smoke_tarvel.sh TARVEL EXAMPLE  with EXAMPLE stored as the settings: the
#       main window appears; Ctrl+Q ends the program and writes the settings.
#   smoke_tarvel.sh TARVEL          with nothing stored: the wizard's intro page
#       appears after the splash; Cancel ends the program and stores nothing.
#   smoke_tarvel.sh TARVEL EXAMPLE FILE  started as "tarvel FILE" over EXAMPLE
#       stored: a FILE holding a data set opens in the main window, whose title
#       names it, and Ctrl+Q stores it; any other FILE is refused in a box, and
#       the stored EXAMPLE stays byte for byte as it was.
set -euo pipefail
binary="$1"
example="${2:-}"
given="${3:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
folder="$work/config/Morvik/tarvel"
refused=""
if [ -n "$example" ]; then
  mkdir -p "$folder"
  cp "$example" "$folder/ModelData"
  title='Tarvel'
  if [ -n "$given" ]; then
    if grep -q '^\[DataBegin' "$given"; then
      title="$(basename "$given") — Tarvel"
    else
      refused=1 # the box says why, over the main window, both called Tarvel
    fi
  fi
else
  title='Demonstration Intro'
fi

cat > "$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
"$TARVEL" ${GIVEN:+"$GIVEN"} & pid=$!
# The visible windows of that title, newest last.
windows() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null || true; }
window=""
wanted=$([ -n "$REFUSED" ] && echo 2 || echo 1)
# Up to 30 s: on a machine busy with the other tests the start can be slow.
for _ in $(seq 1 300); do
  [ "$(windows | wc -l)" -ge "$wanted" ] && break
  sleep 0.1
done
if [ "$(windows | wc -l)" -lt "$wanted" ]; then
  echo "smoke: $wanted window(s) '$TITLE' did not appear" >&2
  kill "$pid"
  exit 1
fi
sleep 1
if [ -n "$REFUSED" ]; then
  # The box is the smaller of the two; Return closes it.
  box="$(for w in $(windows); do
           eval "$(xdotool getwindowgeometry --shell "$w")"
           echo "$((WIDTH * HEIGHT)) $w"
         done | sort -n | head -n 1 | cut -d' ' -f2)"
  xdotool windowfocus --sync "$box" key Return
  for _ in $(seq 1 100); do
    [ "$(windows | wc -l)" -eq 1 ] && break
    sleep 0.1
  done
  if [ "$(windows | wc -l)" -ne 1 ]; then
    echo "smoke: the box that refuses the file did not close" >&2
    kill "$pid"
    exit 1
  fi
fi
window="$(windows | tail -n 1)"
touch "$WORK/before-end"
if [ -n "$EXAMPLE" ]; then
  # Without a window manager, a click into a control that takes the focus (the
  # annotation memo) is what makes the window active, which the shortcut needs.
  xdotool mousemove --window "$window" 600 100 click 1
  sleep 0.3
  xdotool key ctrl+q
else
  xdotool mousemove --window "$window" 380 236 click 1 # "Cancel"
fi
for _ in $(seq 1 300); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "smoke: the program did not end" >&2
  kill "$pid"
  exit 1
fi
wait "$pid"
SESSION
chmod +x "$work/session.sh"

XDG_CONFIG_HOME="$work/config" XDG_CONFIG_DIRS="$work/xdg" TARVEL="$binary" TITLE="$title" \
  WORK="$work" EXAMPLE="$example" GIVEN="$given" REFUSED="$refused" QT_QPA_PLATFORM=xcb \
  "$(dirname "$0")/../support/with-display.sh" "$work/session.sh"

stored="$folder/ModelData"
if [ -n "$given" ] && [ -n "$refused" ]; then
  if ! cmp -s "$stored" "$example"; then
    echo "smoke: the refused file changed the stored data set" >&2
    exit 1
  fi
  echo "smoke: tarvel FILE refused the file in a box; the stored data set stayed as it was"
elif [ -n "$given" ]; then
  if ! cmp -s "$stored" "$given"; then
    echo "smoke: Ctrl+Q did not store the data set of the file opened at the start" >&2
    exit 1
  fi
  echo "smoke: tarvel FILE opened the file in the main window; Ctrl+Q stored its data set"
elif [ -n "$example" ]; then
  if [ ! "$stored" -nt "$work/before-end" ] || ! grep -q '^\[DataBegin' "$stored"; then
    echo "smoke: Ctrl+Q did not store the settings" >&2
    exit 1
  fi
  echo "smoke: the main window appeared; Ctrl+Q stored the settings and ended the program"
else
  if [ -e "$folder" ]; then
    echo "smoke: Cancel in the wizard stored settings" >&2
    exit 1
  fi
  echo "smoke: the intro page appeared after the splash; Cancel ended the program"
fi
