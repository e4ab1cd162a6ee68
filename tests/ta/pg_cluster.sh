#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A throw-away PostgreSQL cluster for the authority's tests.
#   pg_cluster.sh start DIR   initdb in DIR/data, server on a free loopback
#                             port, socket in DIR; writes DIR/url (an admin
#                             address) and DIR/password
#   pg_cluster.sh stop DIR    stops it at once and removes DIR
# The server refuses to run as root: as root, the cluster belongs to the
# postgres user (or nobody) and every server command runs as that user.
# Commits are not flushed to disk (fsync off: tests need no durability);
# QUARNEL_PG_FSYNC=on flushes them, for figures of a real authority.
set -euo pipefail

bin=${QUARNEL_PG_BIN:-/usr/lib/postgresql/15/bin}
cmd=${1:?start or stop}
dir=${2:?folder}

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$owner" -- "$@"
  else
    "$@"
  fi
}
owner=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  owner=postgres
  id -u postgres >/dev/null 2>&1 || owner=nobody
fi

case $cmd in
start)
  if [ -f "$dir/data/postmaster.pid" ]; then as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true; fi
  rm -rf "$dir"
  mkdir -p "$dir"
  head -c 18 /dev/urandom | base64 | tr -d '/+=' >"$dir/password"
  chmod 600 "$dir/password"
  [ "$(id -u)" -ne 0 ] || chown -R "$owner" "$dir"
  # A free port: ask the kernel for one, then let the server take it.
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  as_owner "$bin/initdb" -D "$dir/data" -U quarnel --pwfile="$dir/password" \
    --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --no-sync >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=${QUARNEL_PG_FSYNC:-off} -c max_connections=60" \
    start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
  echo "postgresql://quarnel@127.0.0.1:$port/postgres" >"$dir/url"
  ;;
stop)
  if [ -d "$dir/data" ]; then
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
