# Sourced by script/test, script/demo and script/install-textlint: the environment that
# Wine, the tests and the demo share. Starts an X server when there is no display, and a
# persistent wineserver.
#
# Two builds of one tree. The product is the 32-bit DLL, always built in $QUILL_BUILD. The
# tests run on that build wherever this machine starts 32-bit Linux programs (Wine's 32-bit
# loader is one); where it cannot (a kernel without 32-bit support), the whole tree is built
# again for x86_64 in $QUILL_BUILD/x86_64 and the tests run there under 64-bit Wine, with a
# prefix of its own. QUILL_TEST_ARCH=i686 or QUILL_TEST_ARCH=x86_64 forces the choice.
QUILL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILL_BUILD=${QUILL_BUILD:-$QUILL_ROOT/build}
QUILL_WINE32=/usr/lib/wine/wine
QUILL_WINE64=/usr/lib/wine/wine64

# Decides once which build the tests and the demo run on, and says so in one line; a script
# started from one that already decided (install-textlint) takes the decision as it is.
quill_choose_test_build() {
    if [ -z "${QUILL_TEST_ARCH_REASON:-}" ]; then
        case "${QUILL_TEST_ARCH:-}" in
        i686 | 32) QUILL_TEST_ARCH=i686
            QUILL_TEST_ARCH_REASON="forced by QUILL_TEST_ARCH" ;;
        x86_64 | 64) QUILL_TEST_ARCH=x86_64
            QUILL_TEST_ARCH_REASON="forced by QUILL_TEST_ARCH" ;;
        "")
            if "$QUILL_WINE32" --version >/dev/null 2>&1; then
                QUILL_TEST_ARCH=i686
                QUILL_TEST_ARCH_REASON="this machine starts 32-bit programs"
            else
                QUILL_TEST_ARCH=x86_64
                QUILL_TEST_ARCH_REASON="this machine cannot start 32-bit Linux programs ($QUILL_WINE32 does not run)"
            fi ;;
        *)
            echo "env: QUILL_TEST_ARCH must be i686 or x86_64, not '$QUILL_TEST_ARCH'" >&2
            return 1 ;;
        esac
        export QUILL_TEST_ARCH QUILL_TEST_ARCH_REASON
        if [ "$QUILL_TEST_ARCH" = i686 ]; then
            echo "env: testing the 32-bit build under 32-bit Wine: $QUILL_TEST_ARCH_REASON"
        else
            echo "env: testing the 64-bit build under 64-bit Wine, the 32-bit DLL's shape checked: $QUILL_TEST_ARCH_REASON"
        fi
    fi
    if [ "$QUILL_TEST_ARCH" = i686 ]; then
        QUILL_TEST_BUILD=$QUILL_BUILD
        QUILL_TOOLCHAIN=cmake/mingw-i686.cmake
        QUILL_WINE=wine
        export WINEARCH=win32
    else
        QUILL_TEST_BUILD=$QUILL_BUILD/x86_64
        QUILL_TOOLCHAIN=cmake/mingw-x86_64.cmake
        # Debian's wine, wineboot and winecfg wrappers take the 32-bit loader whenever it is
        # installed, working or not: the 64-bit loader is called by its own name.
        QUILL_WINE=$QUILL_WINE64
        export WINELOADER=$QUILL_WINE64
        export WINEARCH=win64
    fi
    export WINEPREFIX=${WINEPREFIX:-$QUILL_TEST_BUILD/wine}
}

export WINEDEBUG=-all
# Wine's ANSI code page becomes 932, the code page of the plug-in's users.
export LC_ALL=ja_JP.UTF-8
# Wine must not try to install Mono or Gecko (no network beyond the registries).
export WINEDLLOVERRIDES="mscoree,mshtml="

quill_choose_test_build

quill_start_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    # A display number another build takes at the same moment makes Xvfb end at once: then
    # the next number is tried.
    local n=99 tries=0
    while [ $tries -lt 10 ]; do
        while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        QUILL_XVFB_PID=$!
        for _ in $(seq 100); do
            if ! kill -0 "$QUILL_XVFB_PID" 2>/dev/null; then break; fi
            if [ -e "/tmp/.X11-unix/X$n" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        kill "$QUILL_XVFB_PID" 2>/dev/null || true
        QUILL_XVFB_PID=
        n=$((n + 1))
        tries=$((tries + 1))
    done
    echo "env: Xvfb did not open a display (tried up to :$((n - 1))); the window tests need one" >&2
    return 1
}

quill_stop_background() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${QUILL_XVFB_PID:-}" ]; then kill "$QUILL_XVFB_PID" 2>/dev/null || true; fi
}

# Fetches Windows node.exe from the npm registry into $QUILL_BUILD/cache/<package>-<version>.exe
# once, checked against its pinned integrity: quill_fetch_windows_node PACKAGE VERSION INTEGRITY.
quill_fetch_windows_node() {
    local package=$1 version=$2 integrity=$3 cache="$QUILL_BUILD/cache" got
    local tgz="$cache/$package-$version.tgz" exe="$cache/$package-$version.exe"
    if [ -f "$exe" ]; then return 0; fi
    mkdir -p "$cache"
    if [ ! -f "$tgz" ]; then
        echo "env: fetching $package@$version"
        (cd "$cache" && npm pack "$package@$version" --loglevel=error >/dev/null)
    fi
    got="sha512-$(openssl dgst -sha512 -binary "$tgz" | base64 -w0)"
    if [ "$got" != "$integrity" ]; then
        echo "env: $tgz does not match its pinned integrity" >&2
        rm -f "$tgz"
        return 1
    fi
    rm -rf "$cache/package"
    tar -xzf "$tgz" -C "$cache" package/bin/node.exe
    mv "$cache/package/bin/node.exe" "$exe.part"
    rm -rf "$cache/package"
    mv "$exe.part" "$exe"
}

# Creates the project's Wine prefix (Windows 10, which Node.js 22 requires) when missing.
quill_prepare_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "env: creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        "$QUILL_WINE" wineboot.exe -i >/dev/null 2>&1 || true
        wineserver -w || true
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "env: Wine could not create its prefix in $WINEPREFIX ($QUILL_WINE wineboot.exe failed)" >&2
            return 1
        fi
        "$QUILL_WINE" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    # Without a window manager (Xvfb) Wine waits two seconds whenever a managed window is
    # hidden or destroyed; unmanaged windows make the window tests fast.
    if [ ! -f "$WINEPREFIX/.quill-unmanaged" ]; then
        "$QUILL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        touch "$WINEPREFIX/.quill-unmanaged"
    fi
    wineserver -p >/dev/null 2>&1 || true
    # Start Wine's own services now, detached from our output: started by the first test
    # program they would inherit CTest's pipes and keep it waiting after the tests end.
    "$QUILL_WINE" cmd.exe /c ver </dev/null >/dev/null 2>&1 || true
}
