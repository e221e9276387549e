#!/bin/bash
# An unattended run with settings that end the start-up and a message file that cannot be
# written: the program must end, and its error must reach standard error.
set -uo pipefail
exe=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'TipoBaseDatos=Postgres\r\n' >BASESDATOS.TXT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" GP_RESPUESTAS_MENSAJES="" \
    GP_ARCHIVO_MENSAJES="$work/no/existe/MENSAJES.TXT"
timeout 30 "$exe" U=ADMIN >salida.txt 2>errores.txt
status=$?
[ "$status" != 0 ] && [ "$status" != 124 ] || { echo "the program did not end with an error (status $status)" >&2; exit 1; }
expected='E: ¡Imposible iniciar la aplicación!. Motivo: El tipo de base de datos "Postgres" no existe.'
grep -qF "$expected" errores.txt || { echo "no error on standard error:" >&2; cat errores.txt salida.txt >&2; exit 1; }
echo "status $status; standard error: $(grep -F 'E: ' errores.txt)"
