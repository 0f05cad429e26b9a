#!/usr/bin/env bash
# Cross-builds Velmora for Windows with mingw-w64 and runs its tests under Wine: the
# core, the CLI and their tests, and also the GUI and its QtTest suites when asked
# (VELMORA_WINDOWS_GUI=ON, or auto: whenever the static Qt for Windows of
# scripts/build-qt-windows.sh is there).
# Usage: bash scripts/test-windows.sh [BUILD_DIR] (default build/windows; with the GUI,
# BUILD_DIR-gui).
# VELMORA_SOLO_COMPILA=1 builds without running the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
jobs=${JOBS:-$(nproc)}
qt=${VELMORA_QT_WINDOWS:-$HOME/.cache/velmora/qt6-windows}
inizio=$SECONDS

modo=${VELMORA_WINDOWS_GUI:-auto}
gui=OFF
toolchain=(-DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake")
if [[ $modo != OFF && -f "$qt/velmora-qt-6.4.2.stamp" ]]; then
    gui=ON
    # Qt's own toolchain file finds the cross-built Qt and Debian's host tools, then
    # loads ours; a build folder of its own, as a folder keeps its first toolchain.
    build=$build-gui
    toolchain=(-DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake"
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake")
    echo "test-windows: core, CLI and GUI in $build (Qt for Windows in $qt)"
elif [[ $modo != OFF ]]; then
    echo "test-windows: no Qt for Windows in $qt (scripts/build-qt-windows.sh builds it," \
        "about 30 minutes): core and CLI only; the Windows GUI is NOT built or tested"
else
    echo "test-windows: core and CLI only; the Windows GUI is NOT built or tested" \
        "(VELMORA_WINDOWS_GUI=ON or auto adds it)"
fi

# SQLite for Windows: its amalgamation from Debian's source package, made once.
bash scripts/build-sqlite-windows.sh
source scripts/wine-ambiente.sh "$build"
cmake -S . -B "$build" -G Ninja -Wno-dev "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_GUI=$gui -DVELMORA_SQLITE_AMALGAMA="${VELMORA_SQLITE_WINDOWS:-$HOME/.cache/velmora-sqlite3}" \
    >/dev/null
cmake --build "$build" -j "$jobs"
compilato=$SECONDS
[[ -n "${VELMORA_SOLO_COMPILA:-}" ]] && exit 0
# Wine now and then fails to start a program at all (no output, a hundredth of a
# second): a test is run a second time before it counts as failed.
(cd "$build" && ctest --output-on-failure -j "$jobs" --repeat until-pass:2)
echo "test-windows: build $((compilato - inizio)) s, tests under Wine $((SECONDS - compilato)) s (GUI $gui)"
