#!/usr/bin/env bash
# Starts or stops a throwaway CUPS scheduler on loopback for the print tests.
#   tools/cups-test-server.sh start <folder>   prints the variable to export (CUPS_SERVER)
#   tools/cups-test-server.sh stop <folder>
# It has one queue, "Prueba" (the default), whose device keeps every job as it arrives: job
# n leaves its document in <folder>/salida/n.trabajo and its title in <folder>/salida/n.titulo.
set -euo pipefail
cmd=${1:?start or stop}
dir=${2:?folder}
cupsd=/usr/sbin/cupsd

case "$cmd" in
start)
  [ -x "$cupsd" ] || { echo "cupsd is not installed (package cups-daemon)" >&2; exit 1; }
  mkdir -p "$dir"/{conf,spool/tmp,cache,estado,log,salida,bin/backend}
  dir=$(cd "$dir" && pwd)
  # Jobs run as the scheduler's user, lp, which must reach the folder and write the device's files.
  chmod 755 "$dir"
  chmod 777 "$dir/salida"
  for d in filter daemon cgi-bin driver monitor notifier; do ln -sfn "/usr/lib/cups/$d" "$dir/bin/$d"; done
  cat >"$dir/bin/backend/gp-prueba" <<'DEVICE'
#!/bin/sh
# argv: job, user, title, copies, options and the document (standard input without it).
if [ $# -eq 0 ]; then echo 'file gp-prueba "Unknown" "Cola de prueba"'; exit 0; fi
umask 022
out=${DEVICE_URI#gp-prueba:}
if [ -n "$6" ]; then cat "$6" >"$out/$1.trabajo"; else cat >"$out/$1.trabajo"; fi
printf '%s' "$3" >"$out/$1.titulo.tmp" && mv "$out/$1.titulo.tmp" "$out/$1.titulo"
DEVICE
  chmod 755 "$dir/bin/backend/gp-prueba"
  port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  cat >"$dir/conf/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
DefaultAuthType None
DefaultEncryption Never
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/estado
ServerBin $dir/bin
DataDir /usr/share/cups
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
CONF
  cat >"$dir/conf/printers.conf" <<CONF
<DefaultPrinter Prueba>
Info Cola de prueba
DeviceURI gp-prueba:$dir/salida
State Idle
Accepting Yes
Shared No
</DefaultPrinter>
CONF
  setsid "$cupsd" -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" >"$dir/log/cupsd.log" 2>&1 &
  echo $! >"$dir/pid"
  for _ in $(seq 100); do
    if CUPS_SERVER=127.0.0.1:$port lpstat -p Prueba >/dev/null 2>&1; then
      echo "export CUPS_SERVER=127.0.0.1:$port"
      exit 0
    fi
    sleep 0.2
  done
  echo "cupsd did not answer:" >&2
  cat "$dir/log/cupsd.log" "$dir/log/error_log" >&2 2>/dev/null || true
  exit 1
  ;;
stop)
  if [ -f "$dir/pid" ]; then
    pid=$(cat "$dir/pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -rf "$dir"
  ;;
*) echo "usage: $0 start|stop <folder>" >&2; exit 2 ;;
esac
