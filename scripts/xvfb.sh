# Sourced: morvane_start_xvfb starts a private Xvfb and exports DISPLAY;
# morvane_stop_xvfb stops it.
morvane_start_xvfb() {
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    MORVANE_XVFB_PID=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display"
}

morvane_stop_xvfb() {
    if [ -n "${MORVANE_XVFB_PID:-}" ]; then
        kill "$MORVANE_XVFB_PID" 2>/dev/null || true
        wait "$MORVANE_XVFB_PID" 2>/dev/null || true
        MORVANE_XVFB_PID=
    fi
}
