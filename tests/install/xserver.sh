# The private X server of an install test and the program it starts there; sourced by each of
# them. Needs $work, and fail from report.sh.
xvfb_pid=""
program_pid=""

# Starts Xvfb and exports DISPLAY for it; ends the test when the server does not start.
start_xvfb() {
    mkfifo "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local display_number=""
    read -r -t 30 display_number <"$work/display" || true
    [ -n "$display_number" ] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; exit 1; }
    export DISPLAY=":$display_number"
}

stop_program() {
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
}

# Stops whatever still runs; for the exit trap, under set +e.
stop_processes() {
    for pid in $program_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
}
