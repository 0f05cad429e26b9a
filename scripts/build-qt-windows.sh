#!/usr/bin/env bash
# Builds a static Qt 6 for Windows once, from Debian's qt6-base source package,
# cross-compiled with mingw-w64; the host tools (moc, rcc, uic) are Debian's own.
# Result: ${VELMORA_QT_WINDOWS:-~/.cache/velmora/qt6-windows}. About 30 minutes
# of CPU; does nothing when the cache is already complete.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${VELMORA_QT_WINDOWS:-$HOME/.cache/velmora/qt6-windows}
work=${VELMORA_QT_WINDOWS_WORK:-$prefix-build}
jobs=${JOBS:-$(nproc)}
version=6.4.2
stamp="$prefix/velmora-qt-$version.stamp"

[[ -f "$stamp" ]] && exit 0

bash "$root/scripts/install-deps.sh" windows

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
lock=(-o DPkg::Lock::Timeout=600)

# apt source needs a deb-src entry; the archive is the one the system already uses.
srclist=/etc/apt/sources.list.d/velmora-deb-src.sources
if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
        'Suites: bookworm bookworm-updates' 'Components: main' \
        'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        "${sudo[@]}" tee "$srclist" >/dev/null
    "${sudo[@]}" apt-get "${lock[@]}" update -qq
fi

mkdir -p "$work"
cd "$work"
src=$(find . -maxdepth 1 -type d -name "qt6-base-$version*" | head -n 1)
if [[ -z "$src" ]]; then
    # The same Debian revision as the host tools, so moc and the libraries agree.
    apt-get source -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)" >/dev/null
    src=$(find . -maxdepth 1 -type d -name "qt6-base-$version*" | head -n 1)
fi
[[ -f "$src/CMakeLists.txt" ]] || { echo "qt6-base $version source not found in $work" >&2; exit 1; }

# Debian's source lacks the tablet header, hence tabletevent off; OpenGL stays on
# because the Windows platform plugin of this version does not build without it.
cmake -S "$src" -B build -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR= \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_tabletevent=OFF \
    -DFEATURE_opengl=ON \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF
cmake --build build -j "$jobs"
rm -rf "$prefix"
cmake --install build >/dev/null

# Check what we got: the modules Velmora links, the Windows platform plugin and
# no dependency on Qt DLLs.
for f in lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake lib/cmake/Qt6Test/Qt6TestConfig.cmake \
    lib/libQt6Widgets.a lib/libQt6Test.a plugins/platforms/libqwindows.a; do
    [[ -f "$prefix/$f" ]] || { echo "missing in the Qt build: $f" >&2; exit 1; }
done
echo "$version $(date -u +%F)" >"$stamp"
echo "Qt $version for Windows installed in $prefix ($(du -sh "$prefix" | cut -f1))"
