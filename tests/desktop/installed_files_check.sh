#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the files a package
# manager and a software centre read, with their own validators:
#   installed_files_check.sh metainfo CMAKE BUILD_DIR VERSION
#       the AppStream file passes appstreamcli (alone and with the desktop
#       entry it launches), names this version and ships its screenshot;
#   installed_files_check.sh manpages CMAKE BUILD_DIR VERSION
#       both manual pages are compressed, render without a warning and name
#       every option the programs' --help lists.
# Exits 77 (skipped) when the validator is not installed.
set -euo pipefail
mode="$1"
cmake="$2"
build="$3"
version="$4"
fail() { echo "$mode: $*" >&2; exit 1; }
skip() { echo "$mode: $1 is not installed (bash scripts/install-deps.sh installs it): skipped"; exit 77; }

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

check_metainfo() {
  command -v appstreamcli >/dev/null || skip appstreamcli
  local files=("$prefix"/share/metainfo/*.metainfo.xml)
  [ ${#files[@]} -eq 1 ] && [ -f "${files[0]}" ] || fail "expected one file in share/metainfo"
  local metainfo="${files[0]}" report
  report="$(appstreamcli validate --no-net "$metainfo" 2>&1)" || fail "appstreamcli validate: $report"
  # The tree: the launchable desktop entry and the icon are found beside it.
  report="$(appstreamcli validate-tree --no-net "$prefix" 2>&1)" || fail "appstreamcli validate-tree: $report"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "no release $version in $(basename "$metainfo")"
  local image
  image="$(sed -n 's:.*<image>\(.*\)</image>.*:\1:p' "$metainfo" | head -n 1)"
  [ -n "$image" ] || fail "no screenshot"
  local shipped="$prefix/share/tarvel/screenshots/$(basename "$image")"
  [ -f "$shipped" ] || fail "the screenshot $(basename "$image") is not installed"
  file -b "$shipped" | grep -q '^PNG image' || fail "the screenshot is not a PNG picture"
  echo "metainfo: $(basename "$metainfo") valid, release $version, screenshot shipped"
}

check_manpages() {
  command -v man >/dev/null || skip man
  local page program rendered warnings option
  for program in tarvel tarvel-calc; do
    page="$prefix/share/man/man1/$program.1.gz"
    [ -f "$page" ] || fail "no manual page $program.1.gz in share/man/man1"
    gzip -t "$page" || fail "$program.1.gz is not a gzip file"
    warnings="$(mktemp)"
    rendered="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>"$warnings")" ||
      fail "man could not render $program.1.gz: $(cat "$warnings")"
    if [ -s "$warnings" ]; then
      fail "man warns about $program.1.gz: $(cat "$warnings")"
    fi
    rm -f "$warnings"
    # Every option the program's own help names has its place in the page.
    while read -r option; do
      grep -qF -- "$option" <<<"$rendered" || fail "$program(1) does not describe $option"
    done < <(QT_QPA_PLATFORM=offscreen "$prefix/bin/$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
  done
  echo "manpages: tarvel(1) and tarvel-calc(1) render without warnings and name every option"
}

case "$mode" in
  metainfo) check_metainfo ;;
  manpages) check_manpages ;;
  *) fail "unknown mode" ;;
esac
