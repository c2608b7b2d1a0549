#!/usr/bin/env bash
# Runs one SQL test script as a login of a cluster made by scripts/pgcluster, over TLS
# with the login's client certificate.  The script fails (RAISE EXCEPTION) on a failed
# check; psql then stops and this runner exits non-zero.
#   run_sql_test.sh CLUSTER_DIR LOGIN FILE
# LOGIN "owner": the script runs as the cluster owner over the socket, from the script's
# folder (\ir finds the shared fixtures); such a script plays several logins with
# "set session authorization".
set -euo pipefail
[[ $# -eq 3 ]] || { echo "usage: $0 CLUSTER_DIR LOGIN FILE" >&2; exit 2; }
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if [[ "$2" == owner ]]; then
  cluster="$(cd "$1" && pwd)" file="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
  cd "$(dirname "$file")"
  exec "$here/../../scripts/pgcluster" sql "$cluster" <"$file"
fi
exec "$here/../../scripts/pgcluster" psql "$1" "$2" -X -q -v ON_ERROR_STOP=1 -f "$3"
