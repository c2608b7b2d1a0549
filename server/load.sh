#!/usr/bin/env bash
# Loads the server side into database "dorv" of a running cluster.
#   load.sh SOCKET_DIR PORT DEMO(0|1|small) [command prefix to run psql as the cluster owner...]
# The database is dropped and recreated, so a reload always gives the same result.
# Files are read by the caller and fed to psql on stdin, one transaction per file,
# in the order of load_order.txt: "demo" files with DEMO=1 or small, "demo big" files
# (the long demo history) with DEMO=1 only.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
sockdir="$1"; port="$2"; demo="$3"; shift 3
psql_cmd=("$@" /usr/lib/postgresql/15/bin/psql -X -q -v ON_ERROR_STOP=1 -h "$sockdir" -p "$port")

"${psql_cmd[@]}" -d postgres <<'SQL'
set client_min_messages = warning;
do $$ begin perform pg_terminate_backend(pid) from pg_stat_activity where datname = 'dorv' and pid <> pg_backend_pid(); end $$;
drop database if exists dorv;
create database dorv template template0 encoding 'UTF8' locale_provider icu icu_locale 'ru-RU' locale 'C.UTF-8';
SQL

while read -r file kind; do
  [[ -z "$file" || "$file" == \#* ]] && continue
  [[ "$kind" == demo* && "$demo" == "0" ]] && continue
  [[ "$kind" == "demo big" && "$demo" != "1" ]] && continue
  if ! out="$("${psql_cmd[@]}" -d dorv -1 -f - <"$here/$file" 2>&1)"; then
    echo "load.sh: $file failed:" >&2
    echo "$out" >&2
    exit 1
  fi
  # notices are not interesting, errors stop the load above
done <"$here/load_order.txt"
