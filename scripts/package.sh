#!/usr/bin/env bash
# Builds the Debian package of Tarvel and checks it as a user would meet it:
#   1. a Release build in build-package/ (Debian's hardening flags) and the .deb
#      made by CPack, named tarvel_<version>_<architecture>.deb;
#   2. lintian on it: any error stops here, the rest is listed;
#   3. apt would install it; unpacked (dpkg -x) into a scratch folder its tarvel-calc
#      runs on its examples and its tarvel shows its main window on a virtual X display;
#   4. the size of the .deb.
# The package lands in build-package/; install it with apt install ./FILE.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-package"
bash "$root/scripts/install-deps.sh"
say() { echo "package: $*"; }
fail() { echo "package: $*" >&2; exit 1; }

# --- 1. build and package ------------------------------------------------------
launchers=()
if command -v ccache >/dev/null 2>&1; then
  launchers=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# The compiler and linker flags Debian builds its own packages with.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
# Only the packaged programs are built: installing must not build the tests.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  "${launchers[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target tarvel tarvel-calc tarvel_man_pages

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")"
changelog_version="$(sed -n '1s/^tarvel (\([^)]*\)).*/\1/p' "$root/assets/changelog")"
[ "$changelog_version" = "$version" ] ||
  fail "the newest entry of assets/changelog is $changelog_version, the project's version $version: add an entry for it"
architecture="$(dpkg --print-architecture)"
deb="$build/tarvel_${version}_${architecture}.deb"
rm -f "$deb"
(cd "$build" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || fail "CPack made no $(basename "$deb")"
say "built $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Depends Section

# --- 2. lintian ------------------------------------------------------------------
# Its tags only (as root it also says that root is not recommended); the
# informational ones are listed too.
lintian_report="$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1 |
  grep -E '^[EWIPX]: ' || true)"
if grep -q '^E: ' <<<"$lintian_report"; then
  echo "$lintian_report" >&2
  fail "lintian found errors"
fi
say "lintian: no errors, $(grep -c '^W: ' <<<"$lintian_report" || true) warnings"
[ -z "$lintian_report" ] || echo "$lintian_report"

# --- 3. the unpacked package at work ------------------------------------------------
# apt could install it here: every dependency is known to it.
apt-get install --simulate -q "$deb" >/dev/null 2>&1 ||
  fail "apt cannot install it: $(apt-get install --simulate -q "$deb" 2>&1 | tail -n 3)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/root"
usr="$scratch/root/usr"
for example in "$usr"/share/tarvel/examples/*.txt; do
  lines="$("$usr/bin/tarvel-calc" "$example" | wc -l)"
  header="$("$usr/bin/tarvel-calc" "$example" | head -n 1)"
  [ "$header" = "time,calculated_time" ] && [ "$lines" -gt 1 ] ||
    fail "the packaged tarvel-calc did not compute $(basename "$example")"
  say "tarvel-calc computed $((lines - 1)) points of $(basename "$example")"
done
[ "$("$usr/bin/tarvel" --version)" = "tarvel $version" ] || fail "the packaged tarvel names another version"

# With an example as the kept data set the program starts in its main window.
mkdir -p "$scratch/config/Morvik/tarvel"
cp "$usr/share/tarvel/examples/default-grain.txt" "$scratch/config/Morvik/tarvel/ModelData"
cat >"$scratch/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
"$TARVEL" & pid=$!
for _ in $(seq 1 150); do
  if xdotool search --onlyvisible --name '^Tarvel$' >/dev/null 2>&1; then
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    exit 0
  fi
  kill -0 "$pid" 2>/dev/null || { echo "package: tarvel ended before its window showed" >&2; exit 1; }
  sleep 0.1
done
kill "$pid"
echo "package: the main window did not show within 15 seconds" >&2
exit 1
SESSION
chmod +x "$scratch/session.sh"
XDG_CONFIG_HOME="$scratch/config" XDG_CONFIG_DIRS="$scratch/xdg" QT_QPA_PLATFORM=xcb \
  TARVEL="$usr/bin/tarvel" "$root/tests/support/with-display.sh" "$scratch/session.sh" || fail "the packaged tarvel did not show its window"
say "the packaged tarvel showed its main window"

# --- 4. size ------------------------------------------------------------------------
say "$deb: $(stat -c %s "$deb") bytes ($(du -h "$deb" | cut -f1)), installed $(dpkg-deb --field "$deb" Installed-Size) KiB"
