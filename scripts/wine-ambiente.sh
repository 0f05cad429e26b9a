# Sourced: a Wine prefix of the build's own (made on first use) and quiet Wine.
# Usage: source scripts/wine-ambiente.sh BUILD_DIR
mkdir -p "$1"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(cd "$1" && pwd)/wine
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Making the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
