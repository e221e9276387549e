#!/bin/bash
# Starts the program in an empty folder under a virtual X server, as a first run with
# "U=ADMIN", every message answered and written to MENSAJES.TXT instead of a window.
# Modes:
#   sqlite       no settings: the databases are made in datos/ (CAMPOUSR from the installed
#                DATABASE.TXT), ADMIN logs in at the prompt's default, the main window shows
#                with company 1 open (screenshot) and SIGTERM closes it; then every program
#                entry goes into ADMIN's ProgramasActivos, and a second start opens them all
#                by itself (the access log says so) and Alt+T opens "&Tablas" (screenshot);
#                before that, a start whose "Cambio Empresa" is chosen as soon as the window
#                is there opens the record search of the companies (screenshot);
#   pg-caido     "SQL Generica" aimed at a port where no server listens: the start-up ends
#                with its error message and the driver's reason;
#   pg           the same settings against the test server (GP_TEST_PG*): starts normally;
#   diagnostico  no font installed (an empty font configuration): the installation diagnosis
#                of an unattended start writes its report naming the fonts to the messages
#                file instead of showing it, the repair question is answered "NO" and the
#                start-up goes on to the main window (screenshot).
# Usage: arranque.sh <executable> <output folder> <mode>
set -euo pipefail
exe=$(readlink -f "$1")
out=$(mkdir -p "$2" && cd "$2" && pwd)
mode=$3
title="Gestión de Proyectos"
# The caption once a company is open: the program name, ": " and the company's abbreviation.
[ "$mode" = pg-caido ] || title="Gestión de Proyectos: "

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

SERVER=""; PGUSUARIO=""
if [ "$mode" != sqlite ] && [ "$mode" != diagnostico ]; then
    if [ "$mode" = pg ]; then
        if [ -z "${GP_TEST_PGHOST:-}" ]; then echo "no PostgreSQL test server: skipped"; exit 77; fi
        SERVER="$GP_TEST_PGHOST,$GP_TEST_PGPORT"; PGUSUARIO="${GP_TEST_PGUSER:-postgres}"
    else
        SERVER="127.0.0.1,1"; PGUSUARIO=postgres
    fi
fi

export EXE="$exe" OUT="$out" TITLE="$title" WORK="$work/run" MODE="$mode" SERVER PGUSUARIO
export GP_RESPUESTAS_MENSAJES="" GP_ARCHIVO_MENSAJES="$work/run/MENSAJES.TXT"

# Under a virtual screen of its own, which runs it again, from an empty folder and with new
# server databases, when the screen fails.
bash "$(dirname "$(readlink -f "$0")")/pantalla_virtual.sh" bash -c '
set -u
rm -rf "$WORK"; mkdir "$WORK"; cd "$WORK"
unset QT_QPA_PLATFORM
printf "[Configuración]\r\nMonitorizarActividadUsuario=SI\r\n" >KORVEL.INI
if [ -n "$SERVER" ]; then
    n=$RANDOM$RANDOM
    printf "TipoBaseDatos=SQL Generica\r\nAliasBaseDatosGeneral=GENERAL\r\nAliasBaseDatos=EMPRESA\r\n" >BASESDATOS.TXT
    printf "[GENERAL]\nSERVER NAME=%s\nDATABASE NAME=gpapp_g%s\nUSER NAME=%s\n[EMPRESA]\nSERVER NAME=%s\nDATABASE NAME=gpapp_e%s\nUSER NAME=%s\n" \
        "$SERVER" "$n" "$PGUSUARIO" "$SERVER" "$n" "$PGUSUARIO" >ALIAS.INI
fi
# A program that could not reach the screen: the screen failed, not the program.
pantalla_caida() { grep -qs "could not connect to display" "$WORK/salida-programa.txt" && exit 75; }

# Starts the program, waits for its window, runs the given action on it, saves a screenshot
# and ends it with SIGTERM. Sets $window and $status. With a third argument "ya" the action
# runs as soon as the window is there, without waiting for the program to settle.
arrancar() {
    local foto=$1 accion=$2 espera=${3:-}
    : >"$WORK/MENSAJES.TXT"
    "$EXE" U=ADMIN >"$WORK/salida-programa.txt" 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 1 300); do
        window=$(xdotool search --onlyvisible --name "$TITLE" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if [ -z "$window" ]; then
        kill "$pid" 2>/dev/null || true
        pantalla_caida
        echo "the main window \"$TITLE\" did not appear" >&2
        cat "$WORK/salida-programa.txt" "$WORK/MENSAJES.TXT" >&2 2>/dev/null
        exit 1
    fi
    [ "$espera" = ya ] || sleep 1
    $accion
    import -window root "$OUT/$foto.png"
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
    # The log-in prompt, answered with its default ("U=ADMIN"), is the only message.
    if [ "$(grep -c "^[IACEP]: " "$WORK/MENSAJES.TXT")" != 1 ] || ! grep -q "^P: " "$WORK/MENSAJES.TXT"; then
        echo "unexpected messages:" >&2; cat "$WORK/MENSAJES.TXT" >&2; exit 1
    fi
}

nada() { :; }
# Base Datos > Cambio Empresa at once: the record search of the companies must open.
buscarEmpresa() {
    xdotool windowfocus "$window" 2>/dev/null || true
    xdotool key --window "$window" alt+b
    sleep 0.3
    xdotool key --window "$window" c
    busqueda=""
    for _ in $(seq 1 50); do
        busqueda=$(xdotool search --name "Buscar en la tabla EMPRESA" 2>/dev/null | head -n 1 || true)
        [ -n "$busqueda" ] && break
        sleep 0.2
    done
    if [ -z "$busqueda" ]; then
        echo "the record search did not open straight after the start" >&2
        cat "$WORK/salida-programa.txt" "$WORK/MENSAJES.TXT" >&2 2>/dev/null
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    sleep 0.5
}
abrirTablas() {
    # With no window manager to hand them over, the keys go to the main window from the start.
    if [ "$(xdotool getwindowfocus 2>/dev/null)" != "$window" ]; then
        echo "the main window did not take the keys: they go to \"$(xdotool getwindowfocus getwindowname 2>/dev/null)\"" >&2
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    xdotool key --window "$window" alt+t
    sleep 1
}

if [ "$MODE" = diagnostico ]; then
    printf "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n" >"$WORK/fuentes.conf"
    : >"$WORK/MENSAJES.TXT"
    FONTCONFIG_FILE="$WORK/fuentes.conf" "$EXE" U=ADMIN >"$WORK/salida-programa.txt" 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 1 300); do
        window=$(xdotool search --onlyvisible --name "$TITLE" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    sleep 1
    import -window root "$OUT/arranque-diagnostico.png"
    informe=$(xdotool search --onlyvisible --name "Diagnóstico de la Instalación" 2>/dev/null | head -n 1 || true)
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" || true
    [ -n "$window" ] || { pantalla_caida; echo "the main window did not appear after the diagnosis" >&2; cat "$WORK/MENSAJES.TXT" "$WORK/salida-programa.txt" >&2; exit 1; }
    [ -z "$informe" ] || { echo "the diagnosis report opened a window in an unattended start" >&2; exit 1; }
    if ! grep -q "^I: Diagnóstico de la Instalación" "$WORK/MENSAJES.TXT" || ! grep -qi "fuente" "$WORK/MENSAJES.TXT"; then
        echo "the diagnosis report is not in the messages file:" >&2; cat "$WORK/MENSAJES.TXT" >&2; exit 1
    fi
    if ! grep -q "^C: ¿Desea que la aplicación reconfigure la instalación" "$WORK/MENSAJES.TXT"; then
        echo "the repair question was not asked:" >&2; cat "$WORK/MENSAJES.TXT" >&2; exit 1
    fi
    echo "main window after the diagnosis: screenshot $OUT/arranque-diagnostico.png"
    exit 0
fi

if [ "$MODE" = pg-caido ]; then
    "$EXE" U=ADMIN >"$WORK/salida-programa.txt" 2>&1
    status=$?
    if [ "$status" = 0 ]; then echo "the start-up did not fail" >&2; exit 1; fi
    if ! grep -q "^E: ¡Imposible iniciar la aplicación!. Motivo: ..*" "$WORK/MENSAJES.TXT"; then
        pantalla_caida
        echo "no start-up error message:" >&2; cat "$WORK/MENSAJES.TXT" "$WORK/salida-programa.txt" >&2; exit 1
    fi
    cat "$WORK/MENSAJES.TXT"
    exit 0
fi

arrancar "arranque-$MODE" nada
echo "window $window, screenshot $OUT/arranque-$MODE.png, exit status $status"
[ "$status" = 0 ] || exit "$status"
[ "$MODE" = sqlite ] || exit 0

arrancar "arranque-$MODE-busqueda" buscarEmpresa ya
echo "record search at once: screenshot $OUT/arranque-$MODE-busqueda.png"
[ "$status" = 0 ] || exit "$status"

[ -f datos/DATABASE.TXT ] || { echo "DATABASE.TXT was not copied into datos/" >&2; exit 1; }
tablas=$(sqlite3 datos/datos.sqlite ".tables")
echo "$tablas" | grep -qw CAMPOUSR || { echo "CAMPOUSR was not created: $tablas" >&2; exit 1; }

programas="Consultas SQL|Parámetros Globales|Maestro de Textos|Maestro de Operarios|Maestro de Proyectos|Maestro de Gamas de Control|Introducción de Notas Técnicas|Notificaciones de Cambios de Versión|Consulta de Proyectos|Intercambio de Códigos de Operarios"
lista=$(printf "%s" "$programas" | sed "s/|/\x27||char(13)||char(10)||\x27/g")
sqlite3 datos/datos.sqlite "UPDATE USUARIO SET ProgramasActivos = '"'"'$lista'"'"' WHERE Codigo = '"'"'ADMIN'"'"'"
rm -f -- *.log
arrancar "arranque-$MODE-programas" abrirTablas
abiertos=$(cat -- *.log 2>/dev/null | grep -c ", Create, " || true)
if [ "$abiertos" != 10 ]; then
    echo "the second start opened $abiertos program windows instead of 10:" >&2; cat -- *.log >&2; exit 1
fi
echo "second start: $abiertos program windows, screenshot $OUT/arranque-$MODE-programas.png"
exit $status
'
