#!/usr/bin/env bash
# Cross-builds Velmora for Windows with mingw-w64 and runs its tests under Wine: the
# core, the CLI and their tests, and also the GUI, its QtTest suites and the installer
# (scripts/test-installatore.sh) when asked (VELMORA_WINDOWS_GUI=ON, or auto: whenever
# the static Qt for Windows of scripts/build-qt-windows.sh is there).
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
elif [[ $modo == ON ]]; then
    echo "test-windows: no Qt for Windows in $qt: scripts/build-qt-windows.sh (or" \
        "make windows) builds it" >&2
    exit 1
elif [[ $modo != OFF ]]; then
    echo "test-windows: no Qt for Windows in $qt (scripts/build-qt-windows.sh builds it):" \
        "core and CLI only; the Windows GUI is NOT built or tested"
else
    echo "test-windows: core and CLI only; the Windows GUI is NOT built or tested" \
        "(VELMORA_WINDOWS_GUI=ON or auto adds it)"
fi

# Wine now and then fails to start a program at all: the test ends at once without a
# line of output. Such a test, and only such a test, is started a second time, and
# the output says so; any other failure stands.
ripeti_muti() {
    local registro=$build/Testing/Temporary/LastTest.log nome falliti
    mapfile -t falliti < <(sed -n 's/^[0-9]*://p' "$build/Testing/Temporary/LastTestsFailed.log")
    for nome in "${falliti[@]}"; do
        # The test's output: the lines between "Output:" and "<end of output>" of its
        # block in ctest's log.
        if awk -v nome="$nome" '$0 ~ /^[0-9]+\/[0-9]+ Test: / { sub(/^[^:]*: /, ""); dentro = ($0 == nome) }
            dentro && /^<end of output>$/ { exit }
            dentro && uscita { testo = testo $0 }
            dentro && /^-+$/ && prima == "Output:" { uscita = 1 }
            { prima = $0 }
            END { exit testo != "" }' "$registro"; then
            echo "test-windows: $nome gave no output at all (Wine did not start it): second start"
        else
            echo "test-windows: $nome failed" >&2
            return 1
        fi
    done
    for nome in "${falliti[@]}"; do
        (cd "$build" && ctest --output-on-failure -R "^$(sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$nome")\$") ||
            return 1
    done
}

# SQLite for Windows: its amalgamation from Debian's source package, made once.
bash scripts/build-sqlite-windows.sh
source scripts/wine-ambiente.sh "$build"
cmake -S . -B "$build" -G Ninja -Wno-dev "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_GUI=$gui -DVELMORA_SQLITE_AMALGAMA="${VELMORA_SQLITE_WINDOWS:-$HOME/.cache/velmora-sqlite3}" \
    >/dev/null
cmake --build "$build" -j "$jobs"
compilato=$SECONDS
[[ -n "${VELMORA_SOLO_COMPILA:-}" ]] && exit 0
(cd "$build" && ctest --output-on-failure -j "$jobs") || ripeti_muti
provato=$SECONDS
echo "test-windows: build $((compilato - inizio)) s, tests under Wine $((provato - compilato)) s (GUI $gui)"
if [[ $gui == ON ]]; then
    bash scripts/test-installatore.sh "$build"
fi
