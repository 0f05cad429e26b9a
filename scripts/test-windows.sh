#!/usr/bin/env bash
# Cross-builds Velmora for Windows with mingw-w64 and runs its tests under Wine: the
# core, the CLI and their tests; with VELMORA_WINDOWS_GUI=ON also the GUI and its QtTest
# suites, given the static Qt for Windows of scripts/build-qt-windows.sh.
# Usage: bash scripts/test-windows.sh [BUILD_DIR] (default build/windows).
# VELMORA_SOLO_COMPILA=1 builds without running the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
jobs=${JOBS:-$(nproc)}
qt=${VELMORA_QT_WINDOWS:-$HOME/.cache/velmora/qt6-windows}
inizio=$SECONDS

source scripts/wine-ambiente.sh "$build"

gui=OFF
if [[ "${VELMORA_WINDOWS_GUI:-OFF}" == ON && -f "$qt/velmora-qt-6.4.2.stamp" ]]; then
    gui=ON
    echo "test-windows: core, CLI and GUI (Qt for Windows in $qt)"
elif [[ "${VELMORA_WINDOWS_GUI:-OFF}" == ON ]]; then
    echo "test-windows: no Qt for Windows in $qt (scripts/build-qt-windows.sh builds it):" \
        "the GUI is NOT built or tested"
else
    echo "test-windows: core and CLI only; the GUI is NOT built or tested" \
        "(VELMORA_WINDOWS_GUI=ON adds it)"
fi

cmake -S . -B "$build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_GUI=$gui -DCMAKE_PREFIX_PATH="$qt" >/dev/null
cmake --build "$build" -j "$jobs"
compilato=$SECONDS
[[ -n "${VELMORA_SOLO_COMPILA:-}" ]] && exit 0
(cd "$build" && ctest --output-on-failure -j "$jobs")
echo "test-windows: build $((compilato - inizio)) s, tests under Wine $((SECONDS - compilato)) s (GUI $gui)"
