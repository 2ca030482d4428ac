#!/usr/bin/env bash
# Starts and stops a throwaway PostgreSQL 15 server for the database tests.
#
#   pg_server.sh start        starts a server; prints `export` lines for the
#                             variables below (use: eval "$(pg_server.sh start)")
#   pg_server.sh stop [DIR]   stops the server of DIR (default $QV_TEST_PG_DIR)
#                             and removes DIR
#   pg_server.sh run CMD...   starts a server, runs CMD with the variables set,
#                             stops the server however CMD ends; exits with
#                             CMD's status
#
# Variables handed to the tests:
#   QV_TEST_PG      libpq connection string of the superuser on database postgres
#                   over TCP (127.0.0.1, a free port, SCRAM-SHA-256 password)
#   QV_TEST_PG_CA   the certificate of the throwaway CA that signed the server's
#                   TLS certificate (names: localhost, 127.0.0.1)
#   QV_TEST_PG_DIR  the server's folder: data, private socket folder, TLS files,
#                   log and the state file
#
# Logins over TCP use SCRAM-SHA-256; members of the role qv_md5_logins log in
# with MD5 instead, so a test can create a role with an MD5 password.
# Each server has its own folder and port, so several may run side by side.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
superuser=qv_test
md5_group=qv_md5_logins
# An interrupted run still runs its EXIT trap, which stops what it started.
trap 'exit 130' INT
trap 'exit 143' TERM

# Runs a command as the postgres system user when we are root (initdb and the
# server refuse to run as root), from inside the server's folder.
as_postgres() {
  if [ "$(id -u)" = 0 ]; then
    (cd "$dir" && runuser -u postgres -- "$@")
  else
    (cd "$dir" && "$@")
  fi
}

make_tls_files() {
  local tls=$dir/tls
  mkdir "$tls"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
    -subj /CN=qv-test-ca -keyout "$tls/ca.key" -out "$tls/ca.crt" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
  openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
    -subj /CN=localhost -keyout "$tls/server.key" -out "$tls/server.csr" 2>/dev/null
  printf '%s\n' "subjectAltName=DNS:localhost,IP:127.0.0.1" "basicConstraints=CA:FALSE" \
    "extendedKeyUsage=serverAuth" >"$tls/server.ext"
  openssl x509 -req -in "$tls/server.csr" -CA "$tls/ca.crt" -CAkey "$tls/ca.key" -set_serial 1 \
    -days 2 -extfile "$tls/server.ext" -out "$tls/server.crt" 2>/dev/null
  rm "$tls/ca.key" "$tls/server.csr" "$tls/server.ext"
  chmod 600 "$tls/server.key"
}

write_configuration() {
  cat >>"$dir/data/postgresql.conf" <<EOF
listen_addresses = '127.0.0.1'
unix_socket_directories = '$dir/socket'
password_encryption = 'scram-sha-256'
ssl = on
ssl_cert_file = '$dir/tls/server.crt'
ssl_key_file = '$dir/tls/server.key'
max_connections = 200
# A throwaway server: durability only costs time.
fsync = off
synchronous_commit = off
full_page_writes = off
EOF
  cat >"$dir/data/pg_hba.conf" <<EOF
local all all                      scram-sha-256
host  all +$md5_group 127.0.0.1/32 md5
host  all all         127.0.0.1/32 scram-sha-256
EOF
}

# Starts the server on a random port, trying another one when that port is taken.
start_on_free_port() {
  local attempt
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
    if as_postgres "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w -t 60 -o "-p $port" start >/dev/null; then
      return 0
    fi
    grep -q "could not bind\|could not create any TCP/IP sockets" "$dir/log" || break
  done
  echo "pg_server.sh: the server did not start:" >&2
  cat "$dir/log" >&2
  exit 1
}

start() {
  dir=$(mktemp -d /tmp/qv-pg.XXXXXX)
  # A start that fails half way leaves neither a folder nor a process behind.
  trap abandon_start EXIT
  local password
  password=$(openssl rand -hex 16)
  mkdir -m 700 "$dir/socket"
  printf '%s\n' "$password" >"$dir/password"
  make_tls_files
  if [ "$(id -u)" = 0 ]; then chown -R postgres: "$dir"; fi

  if ! as_postgres "$bin/initdb" -D "$dir/data" -U "$superuser" --pwfile="$dir/password" \
    --auth=scram-sha-256 -E UTF8 --locale=C --no-sync --no-instructions >"$dir/initdb.log" 2>&1; then
    cat "$dir/initdb.log" >&2
    exit 1
  fi
  rm "$dir/password"
  write_configuration
  start_on_free_port
  printf 'pid=%s\nport=%s\nfolder=%s\n' "$(head -n 1 "$dir/data/postmaster.pid")" "$port" "$dir" >"$dir/state"

  QV_TEST_PG="host=127.0.0.1 port=$port user=$superuser password=$password dbname=postgres"
  QV_TEST_PG_CA=$dir/tls/ca.crt
  QV_TEST_PG_DIR=$dir
  PGCONNECT_TIMEOUT=10 "$bin/psql" "$QV_TEST_PG" -X -q -v ON_ERROR_STOP=1 \
    -c "CREATE ROLE $md5_group NOLOGIN" >/dev/null
  trap - EXIT
}

abandon_start() {
  if [ -f "$dir/state" ]; then stop "$dir"; else rm -rf "$dir"; fi
}

state_value() {
  sed -n "s/^$1=//p" "$2/state"
}

# Whether `pid` is the server of `dir`, not a process that took over its pid.
is_server_of() {
  [ -r "/proc/$1/cmdline" ] && tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null | grep -qF -- "-D $2/data "
}

stop() {
  dir=${1:-${QV_TEST_PG_DIR:-}}
  if [ -z "$dir" ] || [ ! -f "$dir/state" ] || [ "$(state_value folder "$dir")" != "$dir" ]; then
    echo "pg_server.sh: no server folder to stop: '$dir'" >&2
    return 1
  fi
  local pid
  pid=$(state_value pid "$dir")
  if is_server_of "$pid" "$dir"; then
    as_postgres "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null 2>&1 || kill -KILL "$pid" 2>/dev/null || true
  fi
  local waited=0
  while is_server_of "$pid" "$dir" && [ $waited -lt 300 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  rm -rf "$dir"
}

print_exports() {
  printf 'export QV_TEST_PG=%q\nexport QV_TEST_PG_CA=%q\nexport QV_TEST_PG_DIR=%q\n' \
    "$QV_TEST_PG" "$QV_TEST_PG_CA" "$QV_TEST_PG_DIR"
}

run() {
  start
  # The EXIT trap stops the server whether the command succeeds, fails or is interrupted.
  trap 'stop "$QV_TEST_PG_DIR"' EXIT
  export QV_TEST_PG QV_TEST_PG_CA QV_TEST_PG_DIR
  local status=0
  "$@" || status=$?
  return $status
}

command=${1:-}
case "$command" in
  start)
    start
    print_exports
    ;;
  stop) stop "${2:-}" ;;
  run)
    shift
    if [ $# -eq 0 ]; then
      echo "usage: pg_server.sh run CMD..." >&2
      exit 2
    fi
    run "$@"
    ;;
  *)
    echo "usage: pg_server.sh start | stop [DIR] | run CMD..." >&2
    exit 2
    ;;
esac
