#!/usr/bin/env bash
# The server takes a login only over TLS with that login's client certificate and its
# password.  Every case below must be refused; the last one, the proper connection, must work.
#   tls_refusal_test.sh CLUSTER_DIR
set -uo pipefail
[[ $# -eq 1 ]] || { echo "usage: $0 CLUSTER_DIR" >&2; exit 2; }
cluster="$(cd "$1" && pwd)"
# shellcheck disable=SC1091
source "$cluster/cluster.env"
certs="$CERTDIR"
# no ~/.postgresql defaults may slip a certificate in
HOME="$(mktemp -d)"; export HOME
trap 'rm -rf "$HOME"' EXIT
unset PGSSLCERT PGSSLKEY PGSSLMODE PGPASSWORD

base="host=$PGHOST port=$PGPORT dbname=$DBNAME sslrootcert=$certs/root.crt"
own() { echo "sslcert=$certs/$1.crt sslkey=$certs/$1.key"; }
nocert="sslcert=$HOME/none.crt sslkey=$HOME/none.key"

failures=0
# case | connection string | password
cases=(
  "no certificate|$base user=school_001 sslmode=require $nocert|school_001_demo"
  "certificate of another school|$base user=school_002 sslmode=require $(own school_001)|school_002_demo"
  "school certificate for the staff login|$base user=dorv sslmode=require $(own school_001)|dorv_demo"
  "own certificate, wrong password|$base user=school_001 sslmode=require $(own school_001)|wrong"
  "own certificate, no password|$base user=school_001 sslmode=require $(own school_001)|"
  "without TLS|$base user=school_001 sslmode=disable|school_001_demo"
  "as the cluster owner over TCP|$base user=pgrun sslmode=require $(own school_001)|x"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name conn password <<<"$c"
  if PGPASSWORD="$password" psql -X -w -At -c "select 1" "$conn" >/dev/null 2>&1; then
    echo "FAIL: connection accepted: $name"; failures=$((failures + 1))
  else
    echo "ok: refused: $name"
  fi
done

for login in school_001 dorv; do
  if got="$(PGPASSWORD="${login}_demo" psql -X -w -At -c "select current_user || ' ' || ssl from pg_stat_ssl where pid = pg_backend_pid()" \
            "$base user=$login sslmode=verify-full $(own "$login")" 2>&1)" && [[ "$got" == "$login true" ]]; then
    echo "ok: accepted: own certificate and password of $login"
  else
    echo "FAIL: proper connection of $login refused: $got"; failures=$((failures + 1))
  fi
done
exit $((failures > 0))
