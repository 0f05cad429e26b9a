#!/usr/bin/env bash
# Builds a static Qt 6 for Windows once, from Debian's qt6-base source package,
# cross-compiled with mingw-w64; the host tools (moc, rcc, uic) are Debian's own.
# Result: ${VELMORA_QT_WINDOWS:-~/.cache/velmora/qt6-windows}. Does nothing when the
# cache is complete and was built by this version of the script; prints how long the
# build took otherwise.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${VELMORA_QT_WINDOWS:-$HOME/.cache/velmora/qt6-windows}
work=${VELMORA_QT_WINDOWS_WORK:-$prefix-build}
jobs=${JOBS:-$(nproc)}
version=6.4.2
stamp="$prefix/velmora-qt-$version.stamp"
# A cache built with other options is built again.
configurazione="$version $(sha256sum "$0" | cut -c1-16)"

[[ -f "$stamp" && $(head -n 1 "$stamp") == "$configurazione" ]] && exit 0
inizio=$SECONDS

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
# A build folder configured with other options starts afresh: features left out of
# the list below would otherwise keep their old cached values.
if [[ -f build/velmora-configurazione && $(cat build/velmora-configurazione) != "$configurazione" ]]; then
    rm -rf build
fi
mkdir -p build
echo "$configurazione" >build/velmora-configurazione
src=$(find . -maxdepth 1 -type d -name "qt6-base-$version*" | head -n 1)
if [[ -z "$src" ]]; then
    # The same Debian revision as the host tools, so moc and the libraries agree.
    apt-get source -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)" >/dev/null
    src=$(find . -maxdepth 1 -type d -name "qt6-base-$version*" | head -n 1)
fi
[[ -f "$src/CMakeLists.txt" ]] || { echo "qt6-base $version source not found in $work" >&2; exit 1; }

# Velmora paints with QPainter alone, so the QtOpenGL and QtOpenGLWidgets modules are
# not built. The Windows platform plugin names QtOpenGL among its libraries but uses
# only QtGui's OpenGL classes (those stay: the plugin does not build without them).
sed -i -e '/add_subdirectory(opengl)/d' -e '/add_subdirectory(openglwidgets)/d' \
    "$src/src/CMakeLists.txt"
sed -i -e '/Qt::OpenGLPrivate/d' "$src/src/plugins/platforms/windows/CMakeLists.txt"

# Only what Velmora links: Core, Gui, Widgets and Test, the Windows platform plugin
# and the offscreen one for the tests. Every feature switched off here is code that
# is neither compiled nor linked into velmora.exe.
features=(
    # Optimised for size: smaller programs, and a shorter build than -O2.
    -DFEATURE_optimize_size=ON
    # Modules.
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_itemmodeltester=OFF
    # Debian's source lacks the tablet header. OpenGL stays on because the Windows
    # platform plugin of this version does not build without it; Direct2D is a
    # second Windows platform plugin that nothing loads, and QtGui builds the
    # DirectWrite 3 font database (an option of the Windows platform, not its
    # default) only along with it.
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    # Images: PNG (the background), BMP and XPM (the styles' own pictures) are
    # built into QtGui; no plugin formats, no animated images.
    -DFEATURE_imageformatplugin=OFF -DFEATURE_movie=OFF
    -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF
    -DFEATURE_raster_fp=OFF
    # Text: rich text and HTML stay (the report, message boxes); no Markdown, ODF,
    # PDF or style sheets.
    -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
    -DFEATURE_textodfwriter=OFF -DFEATURE_pdf=OFF -DFEATURE_style_stylesheet=OFF
    # Core and Gui services the program does not use.
    -DFEATURE_mimetype_database=OFF -DFEATURE_sharedmemory=OFF
    -DFEATURE_systemsemaphore=OFF -DFEATURE_sessionmanager=OFF
    -DFEATURE_systemtrayicon=OFF -DFEATURE_undocommand=OFF -DFEATURE_whatsthis=OFF
    -DFEATURE_jalalicalendar=OFF -DFEATURE_islamiccivilcalendar=OFF
    -DFEATURE_gestures=OFF -DFEATURE_scroller=OFF
    # Widgets the program does not use.
    -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_calendarwidget=OFF
    -DFEATURE_lcdnumber=OFF -DFEATURE_dial=OFF -DFEATURE_wizard=OFF
    -DFEATURE_fontdialog=OFF -DFEATURE_fontcombobox=OFF -DFEATURE_colordialog=OFF
    -DFEATURE_columnview=OFF -DFEATURE_keysequenceedit=OFF
    -DFEATURE_commandlinkbutton=OFF -DFEATURE_datawidgetmapper=OFF
    -DFEATURE_syntaxhighlighter=OFF -DFEATURE_splashscreen=OFF
    -DFEATURE_errormessage=OFF
)
cmake -S "$src" -B build -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR= \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "${features[@]}"
cmake --build build -j "$jobs"
rm -rf "$prefix"
cmake --install build >/dev/null

# Check what we got: the modules Velmora links, the Windows platform plugin and
# no dependency on Qt DLLs.
for f in lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake lib/cmake/Qt6Test/Qt6TestConfig.cmake \
    lib/libQt6Widgets.a lib/libQt6Test.a plugins/platforms/libqwindows.a; do
    [[ -f "$prefix/$f" ]] || { echo "missing in the Qt build: $f" >&2; exit 1; }
done
printf '%s\n%s\n' "$configurazione" "$(date -u +%F)" >"$stamp"
# The children's processor time, as `times` prints it on its second line (run by
# this shell itself, not in a pipeline's subshell).
times >"$work/tempi"
cpu=$(tail -n 1 "$work/tempi" | awk '{ split($1, u, /[ms]/); split($2, s, /[ms]/);
    printf "%d", (u[1] * 60 + u[2] + s[1] * 60 + s[2]) / 60 }')
echo "Qt $version for Windows installed in $prefix ($(du -sh "$prefix" | cut -f1)):" \
    "built in $(((SECONDS - inizio) / 60)) min, $cpu min of processor time (user + system)"
