#!/usr/bin/env bash
# Checks the package that scripts/package.sh built, as CI does: validates the
# desktop entry and the AppStream metadata, installs the package on this
# machine, runs the installed programs (zelvo on a virtual X server until its
# main window shows) and removes the package again. Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/package/zelvo_*.deb)
version=$(dpkg-deb -f "$deb" Version)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

dpkg-deb -x "$deb" "$stage"
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml

remove() { DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq zelvo >/dev/null; }
trap 'remove; rm -rf "$stage"' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")"

# From elsewhere than the build tree, so only the installed files can answer.
cd /
test "$(command -v zelvo)" = /usr/bin/zelvo
if command -v zelvo-cli >/dev/null; then
  cli=zelvo-cli
else
  cli=zelvo-sim
fi
said=$("$cli" --version)
echo "$said"
grep -qF "$version" <<<"$said"

# The main window is the one titled exactly "Zelvo" (the splash has no title)
# and carries the application icon.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  zelvo & program=$!
  for _ in $(seq 60); do
    for window in $(xdotool search --onlyvisible --name "^Zelvo\$" 2>/dev/null); do
      if [ "$(xdotool getwindowname "$window")" = Zelvo ] &&
         xprop -id "$window" _NET_WM_ICON | grep -q "= "; then
        echo "zelvo: main window shown, $(xdotool getwindowgeometry "$window" | grep Geometry)"
        kill "$program"
        exit 0
      fi
    done
    kill -0 "$program" || { echo "zelvo ended before its window showed" >&2; exit 1; }
    sleep 0.5
  done
  echo "zelvo: no main window after 30 s" >&2
  kill "$program"
  exit 1'
echo "package $version: checked"
