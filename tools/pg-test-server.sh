#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL server on loopback for the engine tests.
#   tools/pg-test-server.sh start <folder>   prints the variables to export
#   tools/pg-test-server.sh stop <folder>
#   tools/pg-test-server.sh pause <folder>    stops it as an administrator would, keeping its data
#   tools/pg-test-server.sh resume <folder>   starts it again on the same port
# The server runs as user postgres (when started as root) with trust authentication, except
# for one role that must give its password (gp_clave, password "cl;ave}1"), for the cases of
# password log-in.
set -euo pipefail
cmd=${1:?start or stop}
dir=${2:?folder}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bindir" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

start_server() {
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-p $1 -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null
}

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

case "$cmd" in
start)
  mkdir -p "$dir"
  [ "$(id -u)" = 0 ] && chown postgres: "$dir"
  as_owner "$bindir/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
  # The first line that matches decides: the password role never falls through to trust.
  sed -i '1i host all gp_clave 127.0.0.1/32 scram-sha-256' "$dir/data/pg_hba.conf"
  port=$(free_port)
  echo "$port" >"$dir/port"
  start_server "$port"
  as_owner psql -q -h "$dir" -p "$port" -U postgres -d postgres \
    -c "CREATE ROLE gp_clave LOGIN CREATEDB PASSWORD 'cl;ave}1'" >/dev/null
  echo "export GP_TEST_PGHOST=127.0.0.1 GP_TEST_PGPORT=$port GP_TEST_PGUSER=postgres" \
    "GP_TEST_PGCLAVE_USER=gp_clave GP_TEST_PGCLAVE_PASSWORD='cl;ave}1'"
  ;;
pause)
  as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
  ;;
resume)
  port=$(cat "$dir/port")
  start_server "$port"
  ;;
stop)
  as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  ;;
*) echo "usage: $0 start|stop|pause|resume <folder>" >&2; exit 2 ;;
esac
