#!/usr/bin/env bash
# The installer under Wine, as a user's PC would take it: a silent install
# into Program Files, the Start-menu entry, the uninstaller registered with
# Windows, zelvo-cli from a command prompt, the installed zelvo.exe showing its
# main window on a virtual X server (a screenshot is kept), and a silent
# uninstall that removes what it installed and nothing else: a file the user
# saved into the folder stays, with the folder. Ends with "installer: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/wine-env.sh

version=$(sed -n 's/^project(Zelvo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
installer="build/windows/Zelvo-$version-setup.exe"
folder="$WINEPREFIX/drive_c/Program Files/Zelvo"
menu_folder="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelvo"
menu="$menu_folder/Zelvo.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvo'

registered() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | grep -q "$2"; }

# NSIS exits 0 even where its stub cannot run: what counts is what it installed.
# wine waits for the installer; the prefix's services keep running, so
# "wineserver -w" would not return.
wine_run 300 "$installer" /S
for f in zelvo.exe zelvo-cli.exe uninstall.exe Qt6Core.dll Qt6Widgets.dll Qt6PrintSupport.dll \
  libstdc++-6.dll plugins/platforms/qwindows.dll plugins/styles/qwindowsvistastyle.dll \
  translations/qtbase_ru.qm qt.conf; do
  check "installed: $f" test -f "$folder/$f"
done
check "Start-menu entry in the Zelvo folder" test -f "$menu"
check "Start-menu entry of the uninstaller" test -f "$menu_folder/Удалить Zelvo.lnk"
check "uninstaller registered" registered UninstallString 'uninstall.exe'
check "installed size registered" registered EstimatedSize '0x'
check "the shipped programs carry no symbols" bash -c \
  "! x86_64-w64-mingw32-objdump -h '$folder/libstdc++-6.dll' | grep -q '\.debug_'"
check "the one version in the registry" registered DisplayVersion "$version"

cli_version=$(wine_run 60 cmd /c "zelvo-cli --version" 2>/dev/null | tr -d '\r')
check "zelvo-cli from a command prompt shows the version" test "$cli_version" = "zelvo-cli $version"

# The installed program on a virtual X server, until its main window shows.
# Wine's desktop process keeps the display of the program that started it:
# a fresh server here, so that the window opens on this display.
shot="build/windows/installed-zelvo.png"
rm -f "$shot"
wineserver -k
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "C:\\Program Files\\Zelvo\\zelvo.exe" >/dev/null 2>&1 &
  shown=
  for _ in $(seq 120); do
    xwininfo -root -tree 2>/dev/null | grep -q "\"Zelvo\": (\"zelvo.exe\"" && shown=1 && break
    sleep 0.5
  done
  # The splash window closes 1.5 s after the main window shows.
  [ -n "$shown" ] && sleep 4 && import -window root "$1"
  status=$?
  wineserver -k
  [ -n "$shown" ] && exit $status
  exit 1
' _ "$shot"
check "the installed zelvo.exe shows its main window" test $? = 0

# A file the user saved into the program's folder.
saved="$folder/журнал обмена.txt"
echo "saved by the user" >"$saved"
wine_run 300 "$folder/uninstall.exe" /S
# The uninstaller copies itself away and runs from there: wait for it.
for _ in $(seq 120); do [ -e "$folder/uninstall.exe" ] || break; sleep 0.5; done
sleep 1
check "uninstalled: the program is gone" test ! -e "$folder/zelvo.exe"
check "uninstalled: the Qt plugins are gone" test ! -e "$folder/plugins"
check "uninstalled: the user's file stays" test -f "$saved"
rm -f "$saved"
rmdir "$folder" 2>/dev/null
wine_run 300 "$installer" /S
wine_run 300 "$folder/uninstall.exe" /S
for _ in $(seq 120); do [ -e "$folder" ] || break; sleep 0.5; done
check "uninstalled: the folder is gone" test ! -e "$folder"
check "uninstalled: the Start-menu folder is gone" test ! -e "$menu_folder"
check "uninstalled: not registered any more" bash -c "! wine reg query '$key' >/dev/null 2>&1"

echo "installer: $passed passed, $failed failed"
[ "$failed" = 0 ]
