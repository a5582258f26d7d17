#!/usr/bin/env bash
# Builds the Windows cross toolchain Zelvo needs and keeps it in a cache folder
# outside the work tree: Qt (Core, Gui, Widgets, PrintSupport, Test, Xml) and
# libcsv, cross-compiled with Debian's mingw-w64 from Debian's own source
# packages. A second run with the same versions does nothing.
#
# Prints the toolchain's folder as its last line. ZELVO_WIN_CACHE moves the
# cache (default ~/.cache/zelvo).
#
# Only Debian's archive is used: the sources come through a deb-src list of our
# own handed to apt by options, so the machine's apt configuration stays as it is.
set -euo pipefail
cd "$(dirname "$0")/.."

# Bump when the way the toolchain is built changes, so old caches are not used.
recipe=1

bash scripts/install-deps.sh windows >/dev/null

# The cross Qt must be the version of the host tools (moc, rcc, uic) it uses.
qt_version=$(dpkg-query -W -f='${source:Version}' libqt6core6)
csv_version=$(dpkg-query -W -f='${source:Version}' libcsv3 2>/dev/null || echo 3.0.3+dfsg-5)
cache=${ZELVO_WIN_CACHE:-$HOME/.cache/zelvo}
key="mingw64-qt-${qt_version//[:~]/_}-csv-${csv_version//[:~]/_}-r$recipe"
prefix="$cache/$key"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work="$cache/work-$key"
# A build that was cut short (the machine stopped, a session ended) goes on
# where it stopped: ninja rebuilds only what is missing or unfinished.
if [ -f "$work/.configured" ] && [ -f "$prefix/toolchain.cmake" ]; then
  echo "windows-toolchain: resuming the interrupted build in $work" >&2
else
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$prefix"

# A source list of our own: the suites the machine already uses, as deb-src.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
cat >"$work/apt/sources.list" <<EOF
deb-src http://deb.debian.org/debian $codename main
deb-src http://deb.debian.org/debian $codename-updates main
deb-src http://deb.debian.org/debian-security $codename-security main
EOF
apt_opts=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o "Dir::Etc::SourceParts=-"
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=")
apt-get "${apt_opts[@]}" update -qq
fetch_source() { # package version
  (cd "$work" && apt-get "${apt_opts[@]}" source -qq "$1=$2" >/dev/null 2>&1) ||
    (cd "$work" && apt-get "${apt_opts[@]}" source -qq "$1" >/dev/null)
}
fetch_source qt6-base "$qt_version"
fetch_source libcsv "$csv_version"

cat >"$prefix/toolchain.cmake" <<EOF
# mingw-w64 (posix threads) for x86_64 Windows, with the cross Qt beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "$prefix")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

# libcsv: one C file, a static library (its config.guess predates this machine).
csv_src=$(find "$work" -maxdepth 1 -type d -name 'libcsv-*' | head -n1)
(cd "$csv_src" && ./configure -q --build=x86_64-pc-linux-gnu --host=x86_64-w64-mingw32 \
  CC=x86_64-w64-mingw32-gcc-posix --prefix="$prefix" --enable-static --disable-shared &&
  make -s -j"$(nproc)" && make -s install) >"$work/libcsv.log" 2>&1 ||
  { tail -40 "$work/libcsv.log"; exit 1; }

# Qt: only what Zelvo and its tests use, the bundled third-party libraries, and
# Debian's host tools of the same version.
qt_src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
mkdir -p "$work/qt-build"
(cd "$work/qt-build" && "$qt_src/configure" -prefix "$prefix" -release -xplatform win32-g++ \
  -qt-host-path /usr -no-pkg-config -nomake tests -nomake examples \
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion \
  -no-icu -no-opengl -no-dbus -no-feature-tabletevent -no-feature-sql -no-feature-network \
  -no-feature-concurrent -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/toolchain.cmake" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1) ||
  { tail -40 "$work/configure.log"; exit 1; }
touch "$work/.configured"
fi
cmake --build "$work/qt-build" --parallel "$(nproc)" >"$work/build.log" 2>&1 ||
  { tail -40 "$work/build.log"; exit 1; }
cmake --install "$work/qt-build" >/dev/null

# The compiler's runtime DLLs, found once here so the packaging need not ask.
mkdir -p "$prefix/runtime"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)" "$prefix/runtime/"
done
echo "qt $qt_version, libcsv $csv_version, recipe $recipe" >"$prefix/.complete"
rm -rf "$work"
echo "$prefix"
