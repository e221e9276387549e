#!/bin/bash
# Two first starts at the same moment on an empty folder, while a third process writes to the
# same database: both programs must reach their main window every time, the database must stay
# sound and the third process must lose nothing. Usage: dos_arranques.sh <executable> <rounds>
set -euo pipefail
exe=$(readlink -f "$1")
rounds=${2:-20}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export EXE="$exe" WORK="$work" ROUNDS="$rounds" TITLE="Gestión de Proyectos" GP_RESPUESTAS_MENSAJES=""

# A display number of its own: other runs on a shared machine start at 99 too.
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" bash -c '
set -u
fail() { echo "round $round: $*" >&2; for f in "$dir"/a*.log "$dir"/MENSAJES*.TXT "$dir"/ERRORES.LOG; do [ -f "$f" ] && { echo "== $f" >&2; cat "$f" >&2; }; done; exit 1; }
window_of() { xdotool search --pid "$1" --name "$TITLE" 2>/dev/null | head -n 1 || true; }
unset QT_QPA_PLATFORM
for round in $(seq 1 "$ROUNDS"); do
    dir="$WORK/r$round"; mkdir -p "$dir"; cd "$dir"
    # The third process: waits for the database file, then posts 100 rows one at a time.
    (
        for _ in $(seq 1 200); do [ -f datos/datos.sqlite ] && break; sleep 0.05; done
        for i in $(seq 1 100); do
            printf ".timeout 20000\nCREATE TABLE IF NOT EXISTS ESCRITOR (N INTEGER PRIMARY KEY);\nINSERT INTO ESCRITOR VALUES ($i);\n" \
                | sqlite3 datos/datos.sqlite >/dev/null || exit 1
        done
    ) & writer=$!
    GP_ARCHIVO_MENSAJES="$dir/MENSAJES1.TXT" "$EXE" U=ADMIN >"$dir/a1.log" 2>&1 & p1=$!
    GP_ARCHIVO_MENSAJES="$dir/MENSAJES2.TXT" "$EXE" U=ADMIN >"$dir/a2.log" 2>&1 & p2=$!
    w1=""; w2=""
    for _ in $(seq 1 200); do
        [ -z "$w1" ] && w1=$(window_of $p1)
        [ -z "$w2" ] && w2=$(window_of $p2)
        [ -n "$w1" ] && [ -n "$w2" ] && break
        kill -0 $p1 2>/dev/null || [ -n "$w1" ] || break
        kill -0 $p2 2>/dev/null || [ -n "$w2" ] || break
        sleep 0.1
    done
    [ -n "$w1" ] || fail "the first program did not show its window"
    [ -n "$w2" ] || fail "the second program did not show its window"
    wait $writer || fail "the third process could not write"
    kill -TERM $p1 $p2
    wait $p1 || fail "the first program ended with status $?"
    wait $p2 || fail "the second program ended with status $?"
    for m in MENSAJES1.TXT MENSAJES2.TXT; do
        [ -s "$m" ] && fail "messages in $m"
    done
    check=$(sqlite3 datos/datos.sqlite "PRAGMA integrity_check;")
    [ "$check" = ok ] || fail "integrity_check: $check"
    rows=$(sqlite3 datos/datos.sqlite "SELECT COUNT(*) FROM ESCRITOR;")
    [ "$rows" = 100 ] || fail "the third process lost rows: $rows of 100"
    sqlite3 datos/datos.sqlite ".tables" | grep -qw CAMPOUSR || fail "CAMPOUSR missing"
    cd "$WORK"
done
echo "$ROUNDS rounds: both programs started every time, the database is sound, no row lost"
'
