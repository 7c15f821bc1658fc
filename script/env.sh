# Sourced by script/test and script/demo: the environment that Wine, the tests and the
# demo share. Starts an X server when there is no display, and a persistent wineserver.
QUILL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILL_BUILD=${QUILL_BUILD:-$QUILL_ROOT/build}
export WINEPREFIX=${WINEPREFIX:-$QUILL_BUILD/wine}
export WINEDEBUG=-all
export WINEARCH=win32
# Wine's ANSI code page becomes 932, the code page of the plug-in's users.
export LC_ALL=ja_JP.UTF-8
# Wine must not try to install Mono or Gecko (no network beyond the registries).
export WINEDLLOVERRIDES="mscoree,mshtml="

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

# Creates the project's Wine prefix (Windows 10, which Node.js 22 requires) when missing.
quill_prepare_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "env: creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w || true
        wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    # Without a window manager (Xvfb) Wine waits two seconds whenever a managed window is
    # hidden or destroyed; unmanaged windows make the window tests fast.
    if [ ! -f "$WINEPREFIX/.quill-unmanaged" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        touch "$WINEPREFIX/.quill-unmanaged"
    fi
    wineserver -p >/dev/null 2>&1 || true
    # Start Wine's own services now, detached from our output: started by the first test
    # program they would inherit CTest's pipes and keep it waiting after the tests end.
    wine cmd.exe /c ver </dev/null >/dev/null 2>&1 || true
}
