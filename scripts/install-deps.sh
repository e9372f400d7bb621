#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the screenshots need.
# Quick when everything is present: dpkg is asked first, apt only when something is missing.
set -euo pipefail

# xvfb to poppler-utils: the checks against real programs on a virtual X display
# (clipboard, PDF text); desktop-file-utils and appstream check the installed
# desktop entry and AppStream file, man-db renders the manual pages; dpkg-dev
# (dpkg-shlibdeps, dpkg-buildflags) and lintian build and check the package.
packages=(g++ cmake make qt6-base-dev qt6-svg-dev libjpeg62-turbo-dev libbenchmark-dev
          xvfb xauth xdotool xclip poppler-utils desktop-file-utils appstream file man-db
          dpkg-dev lintian fonts-dejavu-core)
# The search: Boost.Math (the chi-square probability), Random123 (counter-based
# random numbers), Open MPI (tarvel-calc-mpi and its comparison test).
packages+=(libboost-math-dev librandom123-dev libopenmpi-dev openmpi-bin)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
  sudo_cmd=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
