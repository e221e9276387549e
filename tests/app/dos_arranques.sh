#!/bin/bash
# Two first starts at the same moment on an empty folder, while a third process writes to the
# same database: both programs must reach their main window every time, the database must stay
# sound, every table a lone first start makes must be there, and the third process must lose
# nothing. Usage: dos_arranques.sh <executable> <rounds>
set -uo pipefail
exe=$(readlink -f "$1")
rounds=${2:-20}
SCREEN="$(dirname "$(readlink -f "$0")")/pantalla_virtual.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export EXE="$exe" TITLE="Gestión de Proyectos" GP_RESPUESTAS_MENSAJES=""

# The program's tables of the general and the company database files (the third process's left
# out), one line each.
tables_of() {
    for f in "$1"/datos/datos.sqlite "$1"/datos/1/datos.sqlite; do
        sqlite3 "$f" .tables | xargs -n1 | grep -vx ESCRITOR | sort | xargs
    done
}

# One round under a virtual screen of its own, in a new folder each time it runs (a screen
# that failed runs it again). Exit status 0: passed; 1: failed; 75: a program could not reach
# the screen, which then failed.
one_round() {
    DIR="$1" bash "$SCREEN" bash -c '
    set -u
    rm -rf "$DIR"; mkdir -p "$DIR"; cd "$DIR"
    unset QT_QPA_PLATFORM
    fail() {
        grep -qs "could not connect to display" a1.log a2.log && exit 75
        echo "$*" >&2
        for f in a1.log a2.log MENSAJES1.TXT MENSAJES2.TXT ERRORES.LOG; do [ -f "$f" ] && { echo "== $f" >&2; cat "$f" >&2; }; done
        exit 1
    }
    window_of() { xdotool search --pid "$1" --name "$TITLE" 2>/dev/null | head -n 1 || true; }
    # The third process: waits for the database file, then posts 100 rows one at a time.
    (
        for _ in $(seq 1 600); do [ -f datos/datos.sqlite ] && break; sleep 0.05; done
        for i in $(seq 1 100); do
            printf ".timeout 20000\nCREATE TABLE IF NOT EXISTS ESCRITOR (N INTEGER PRIMARY KEY);\nINSERT INTO ESCRITOR VALUES ($i);\n" \
                | sqlite3 datos/datos.sqlite >/dev/null || exit 1
        done
    ) 2>writer.log & writer=$!
    GP_ARCHIVO_MENSAJES="$DIR/MENSAJES1.TXT" "$EXE" U=ADMIN >a1.log 2>&1 & p1=$!
    GP_ARCHIVO_MENSAJES="$DIR/MENSAJES2.TXT" "$EXE" U=ADMIN >a2.log 2>&1 & p2=$!
    w1=""; w2=""
    for _ in $(seq 1 600); do
        [ -z "$w1" ] && w1=$(window_of $p1)
        [ -z "$w2" ] && w2=$(window_of $p2)
        [ -n "$w1" ] && [ -n "$w2" ] && break
        kill -0 $p1 2>/dev/null || [ -n "$w1" ] || break
        kill -0 $p2 2>/dev/null || [ -n "$w2" ] || break
        sleep 0.1
    done
    [ -n "$w1" ] || { kill $p2 2>/dev/null; wait $writer; fail "the first program did not show its window"; }
    [ -n "$w2" ] || { kill $p1 2>/dev/null; wait $writer; fail "the second program did not show its window"; }
    wait $writer || fail "the third process could not write: $(cat writer.log)"
    kill -TERM $p1 $p2
    wait $p1 || fail "the first program ended with status $?"
    wait $p2 || fail "the second program ended with status $?"
    # The log-in prompt, answered with its default ("U=ADMIN"), is the only message.
    for m in MENSAJES1.TXT MENSAJES2.TXT; do
        grep -v "^P: Introduzca el Código de Usuario:" "$m" | grep -q . && fail "messages in $m"
    done
    check=$(sqlite3 datos/datos.sqlite "PRAGMA integrity_check;")
    [ "$check" = ok ] || fail "integrity_check: $check"
    rows=$(sqlite3 datos/datos.sqlite "SELECT COUNT(*) FROM ESCRITOR;")
    [ "$rows" = 100 ] || fail "the third process lost rows: $rows of 100"
    sqlite3 datos/datos.sqlite ".tables" | grep -qw CAMPOUSR || fail "CAMPOUSR missing"
    exit 0
    '
}

# What one program alone makes on its first start (status as a round's).
lone_start() {
    DIR="$1" bash "$SCREEN" bash -c '
    rm -rf "$DIR"; mkdir -p "$DIR"; cd "$DIR"; unset QT_QPA_PLATFORM
    GP_ARCHIVO_MENSAJES="$DIR/MENSAJES.TXT" "$EXE" U=ADMIN >a.log 2>&1 & p=$!
    for _ in $(seq 1 600); do
        [ -n "$(xdotool search --pid $p --name "$TITLE" 2>/dev/null | head -n 1)" ] && { kill -TERM $p; wait $p; exit 0; }
        kill -0 $p 2>/dev/null || break
        sleep 0.1
    done
    kill $p 2>/dev/null
    grep -qs "could not connect to display" a.log && exit 75
    for f in a.log MENSAJES.TXT; do [ -f "$f" ] && { echo "== $f" >&2; cat "$f" >&2; }; done
    exit 1'
}
lone_start "$work/solo" || { echo "a lone first start did not show its window" >&2; exit 1; }
EXPECTED_TABLES=$(tables_of "$work/solo")
[ -n "$EXPECTED_TABLES" ] || { echo "a lone first start made no tables" >&2; exit 1; }

for round in $(seq 1 "$rounds"); do
    one_round "$work/r$round" || { echo "round $round failed" >&2; exit 1; }
    made=$(tables_of "$work/r$round")
    [ "$made" = "$EXPECTED_TABLES" ] || { echo "round $round made $made instead of $EXPECTED_TABLES" >&2; exit 1; }
done
echo "$rounds rounds: both programs started every time with every table made, the database is sound, no row lost"
