#!/usr/bin/env bash
# Cross-builds Velmora for Windows with mingw-w64 and runs its tests under Wine:
# the core, the CLI and their tests always; the GUI and its QtTest suites too when
# the static Qt for Windows of scripts/build-qt-windows.sh is there.
# Usage: bash scripts/test-windows.sh [BUILD_DIR] (default build/windows).
# VELMORA_WINDOWS_GUI=OFF leaves the GUI out even when that Qt exists;
# VELMORA_SOLO_COMPILA=1 builds without running the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
jobs=${JOBS:-$(nproc)}
qt=${VELMORA_QT_WINDOWS:-$HOME/.cache/velmora/qt6-windows}
inizio=$SECONDS

source scripts/wine-ambiente.sh "$build"

gui=OFF
if [[ "${VELMORA_WINDOWS_GUI:-ON}" != OFF && -f "$qt/velmora-qt-6.4.2.stamp" ]]; then
    gui=ON
    echo "test-windows: GUI included (Qt for Windows in $qt)"
else
    echo "test-windows: core and CLI only (no Qt for Windows in $qt: scripts/build-qt-windows.sh builds it)"
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
