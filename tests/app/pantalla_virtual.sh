#!/bin/bash
# Runs a command under a virtual X screen of its own (DISPLAY set) and ends the screen after
# it. A screen that did not start, or went away while the command ran, says nothing about the
# program: the command is run again on a new screen, up to five times. Any other failure of
# the command is the program's and is its status. The command starts from scratch each
# time, so it must prepare its own folder. It may end with status 75 itself when it sees the
# screen fail (a program that "could not connect to display").
# Usage: pantalla_virtual.sh <command> [arguments...]
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: pantalla_virtual.sh <command> [arguments...]" >&2; exit 2; }

readonly SCREEN_FAILED=75

# One run on one screen; status 75 when the screen failed.
run_on_a_screen() {
    local numero registro pid status
    numero=$(mktemp)
    registro=$(mktemp)
    # Xvfb takes the first free display number itself and writes it once it accepts clients,
    # so runs at the same moment never take one number.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numero" >"$registro" 2>&1 &
    pid=$!
    for _ in $(seq 1 300); do
        [ -s "$numero" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    local display
    display=$(tr -dc 0-9 <"$numero")
    if [ -z "$display" ] || ! DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1; then
        echo "the virtual screen did not start: $(tail -n 3 "$registro" | tr '\n' ' ')" >&2
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        rm -f "$numero" "$registro"
        return $SCREEN_FAILED
    fi
    DISPLAY=":$display" "$@"
    status=$?
    if [ "$status" != 0 ] && ! { kill -0 "$pid" 2>/dev/null && DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1; }; then
        echo "the virtual screen :$display went away while the command ran" >&2
        status=$SCREEN_FAILED
    fi
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    rm -f "$numero" "$registro"
    return "$status"
}

for attempt in 1 2 3 4 5; do
    run_on_a_screen "$@"
    status=$?
    [ "$status" = $SCREEN_FAILED ] || exit "$status"
    echo "attempt $attempt: the virtual screen failed, the command runs again" >&2
done
echo "no virtual screen could be started in 5 attempts" >&2
exit 1
