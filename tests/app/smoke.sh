#!/bin/bash
# Starts the program under a virtual X server, waits for its main window, saves a
# screenshot and closes the program with SIGTERM (which closes the main form).
# Usage: smoke.sh <executable> <output folder>
set -euo pipefail
exe=$(readlink -f "$1")
out=$(mkdir -p "$2" && cd "$2" && pwd)
title="Gestión de Proyectos"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export EXE="$exe" OUT="$out" TITLE="$title" WORK="$work"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
set -u
cd "$WORK"
unset QT_QPA_PLATFORM
"$EXE" >"$WORK/program.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 1 150); do
    window=$(xdotool search --name "$TITLE" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "the main window \"$TITLE\" did not appear" >&2
    cat "$WORK/program.log" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
fi
sleep 1
import -window root "$OUT/gestion-proyectos.png"
kill -TERM "$pid"
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end after SIGTERM" >&2
    kill -KILL "$pid"
    exit 1
fi
wait "$pid"
status=$?
echo "window $window, screenshot $OUT/gestion-proyectos.png, exit status $status"
exit $status
'
