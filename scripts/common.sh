# Shared by scripts/test and scripts/run: packages, builds, the private Wine prefix, a display.
# Sourced, not run.

SLOTVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR="$SLOTVANE_ROOT/build"
WINE64=/usr/lib/wine/wine64

export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEARCH=win64
# No Mono or Gecko: they would be downloaded, and nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

BUILD_PACKAGES=(cmake make g++ googletest
    g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 fonts-wine xvfb xdotool fonts-wqy-microhei python3 nlohmann-json3-dev
    python3-cryptography)

# Installs the Debian packages that are missing; the package lists are refreshed only when
# something has to be installed.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -q
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

# build_preset PRESET [TARGET...]: configures and builds the preset (all targets by default).
build_preset() {
    local preset=$1
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)" ${1:+--target "$@"}
}

# A private prefix inside the build folder, with fonts that render Chinese and Latin text alike:
# the window's font and the dialog fonts are replaced by WenQuanYi Micro Hei.
# Raise PREFIX_VERSION whenever the prefix's setup changes, so that existing prefixes are rebuilt.
PREFIX_VERSION=4
prepare_wine_prefix() {
    local marker="$WINEPREFIX/.slotvane-ready-$PREFIX_VERSION"
    [ -f "$marker" ] && return 0
    echo "Preparing the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Report Windows 10, the system the program is made for.
    "$WINE64" winecfg -v win10 >/dev/null 2>&1
    local reg="$BUILD_DIR/wine-fonts.reg"
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        printf '"微软雅黑"="WenQuanYi Micro Hei"\r\n'
        printf '"Microsoft YaHei"="WenQuanYi Micro Hei"\r\n'
        printf '"SimSun"="WenQuanYi Micro Hei"\r\n\r\n'
        # Wine draws the frame and caption itself, so a virtual display without a window manager
        # still shows them (and screenshots include them).
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
        printf '"Managed"="N"\r\n\r\n'
        # The dark window-frame colour of Windows 10 (Wine's default is a light grey).
        printf '[HKEY_CURRENT_USER\\Control Panel\\Colors]\r\n'
        printf '"WindowFrame"="100 100 100"\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
        local face
        for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI" "Microsoft Sans Serif"; do
            printf '"%s"=hex(7):%s\r\n' "$face" \
                "$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei\0\0' | iconv -f utf-8 -t utf-16le |
                    od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//')"
        done
    } | iconv -f utf-8 -t utf-16le | { printf '\xff\xfe'; cat; } >"$reg"
    "$WINE64" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
    wineserver -w
    touch "$marker"
}

winepath_of() {
    echo "Z:${1//\//\\}"
}

# Starts Xvfb on a free display unless there is a display already. Sets DISPLAY. The screen is
# large enough for the main window at 288 DPI (three times its 96-DPI size), which the window
# tests check: the system would shrink a window larger than the screen.
XVFB_PID=""
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 2560x1800x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
}

stop_display() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}

# Starts the scripted HTTP server of the Windows client tests on a free loopback port and exports
# its address as SLOTVANE_TEST_SERVER, and the file naming its TLS side's ports and test CA as
# SLOTVANE_TEST_TLS. The server stops by itself when this shell ends.
TEST_SERVER_PID=""
start_test_server() {
    local port_file="$BUILD_DIR/test-server.port"
    local tls_file="$BUILD_DIR/test-server.tls"
    rm -f "$port_file" "$tls_file"
    python3 "$SLOTVANE_ROOT/tests/update/hostile_server.py" --port-file "$port_file" \
        --tls-file "$tls_file" --parent-pid $$ &
    TEST_SERVER_PID=$!
    local waited=0
    # Making the certificates takes a few seconds on a busy machine.
    until [ -s "$port_file" ]; do
        if ! kill -0 "$TEST_SERVER_PID" 2>/dev/null || [ "$waited" -ge 300 ]; then
            echo "The test server did not start" >&2
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export SLOTVANE_TEST_SERVER="127.0.0.1:$(cat "$port_file")"
    export SLOTVANE_TEST_TLS
    SLOTVANE_TEST_TLS=$(winepath_of "$tls_file")
}

stop_test_server() {
    if [ -n "$TEST_SERVER_PID" ]; then
        kill "$TEST_SERVER_PID" 2>/dev/null || true
        wait "$TEST_SERVER_PID" 2>/dev/null || true
        TEST_SERVER_PID=""
    fi
}
