#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that it makes a desktop
# program: both programs in bin/, a valid desktop entry whose command and icon
# were installed, and the examples, on which the installed calculator runs.
# usage: install_check.sh CMAKE BUILD_DIR
set -euo pipefail
cmake="$1"
build="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

for program in tarvel tarvel-calc; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program was not installed"
done
entries=("$prefix"/share/applications/*.desktop)
[ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ] || fail "expected one desktop entry in share/applications"
entry="${entries[0]}"
# Not even a hint: two main categories, for one, list the program twice in a menu.
report="$(desktop-file-validate "$entry" 2>&1)" || fail "desktop-file-validate refused the entry: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
exec_name="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
[ -x "$prefix/bin/$exec_name" ] || fail "the entry starts '$exec_name', which is not in bin/"
icon_name="$(sed -n 's/^Icon=//p' "$entry")"
icon="$prefix/share/icons/hicolor/scalable/apps/$icon_name.svg"
[ -f "$icon" ] || fail "the entry's icon '$icon_name' is not in the hicolor theme"
grep -q '<svg' "$icon" || fail "the icon is not an SVG picture"

examples=("$prefix"/share/tarvel/examples/*.txt)
[ -f "${examples[0]}" ] || fail "no example data sets in share/tarvel/examples"
for example in "${examples[@]}"; do
  header="$("$prefix/bin/tarvel-calc" "$example" | head -n 1)"
  [ "$header" = "time,calculated_time" ] || fail "the installed tarvel-calc did not run on $example"
done
echo "install: ${#examples[@]} examples, both programs, a valid desktop entry and its icon"
