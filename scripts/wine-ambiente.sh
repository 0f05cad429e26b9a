# Sourced: a Wine prefix of the build's own (made on first use) and quiet Wine.
# Usage: source scripts/wine-ambiente.sh BUILD_DIR
mkdir -p "$1"
# No Mono, no Gecko, and no menu entries on the host for the shortcuts programs make.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINEPREFIX=$(cd "$1" && pwd)/wine
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Making the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
# Wine passes no QT_* variable from Unix to its programs, so the tests' Qt settings
# live in the prefix's own environment: the offscreen platform, as for the native
# tests (a program that shows its windows asks for "-platform windows"), and Qt's and
# QtTest's messages on standard error and output rather than the debugger's channel.
if ! grep -q '^"QT_QPA_PLATFORM"="offscreen"' "$WINEPREFIX/user.reg"; then
    wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
    wine reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /d 1 /f >/dev/null 2>&1
    wineserver -w
fi
