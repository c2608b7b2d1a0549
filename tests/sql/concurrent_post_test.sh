#!/usr/bin/env bash
# Two sessions of school_001 post the same pay list at the same moment (the first holds
# its update open for a while, the second comes in meanwhile): the ledger must hold the
# document's entries once and the balances must move once.  Uses the building of
# paylist_fixture.sql, committed for the test and removed at the end.
#   concurrent_post_test.sh CLUSTER_DIR
set -euo pipefail
[[ $# -eq 1 ]] || { echo "usage: $0 CLUSTER_DIR" >&2; exit 2; }
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cluster="$(cd "$1" && pwd)"
pgcluster="$here/../../scripts/pgcluster"
work="$(mktemp -d)"

owner() { (cd "$here" && "$pgcluster" sql "$cluster") >/dev/null; }
school() { "$pgcluster" psql "$cluster" school_001 -X -q -v ON_ERROR_STOP=1 -At "$@"; }

cleanup() {
  owner <"$here/paylist_fixture_drop.sql" || true
  rm -rf "$work"
}
echo '\ir paylist_fixture.sql' | owner
trap cleanup EXIT

# the document of Monday 03.03.2031: every pupil with a ration ate
school -c "select insert_pay_list('03.03.2031', 9)" >/dev/null
school -c "update pay_list_sp set attr = 1 where entry_date = '03.03.2031' and daily_ration <> 0 and doc_no in (select doc_no from pay_list where corpus = 9)"

post="update pay_list set status = 4 where entry_date = '03.03.2031' and corpus = 9"
school -c "begin" -c "$post" -c "select pg_sleep(2)" -c "commit" >"$work/first.out" 2>&1 &
first=$!
sleep 0.5
school -c "$post" >"$work/second.out" 2>&1 &
second=$!
failures=0
wait "$first" || { echo "FAIL: first posting: $(cat "$work/first.out")"; failures=1; }
wait "$second" || { echo "FAIL: second posting: $(cat "$work/second.out")"; failures=1; }

# one entry per pupil who ate (five at 100.00 of the parents, the sixth a staff meal: an entry
# of 0), the five balances -100.00
got="$(printf '\\pset format unaligned\n\\pset tuples_only on\n%s\n' "select (select count(*) from dorv.sys_entry e join school_001.pay_list p on p.doc_no = e.doc_no
                     where e.doc_class = 1 and e.edu_org = 'school_001' and p.corpus = 9) || ' ' ||
                    (select count(*) from dorv.sys_entry where account_id between 990000001 and 990000008) || ' ' ||
                    (select string_agg(debt::text, ',' order by account_id) from public.calc_current_debt
                     where account_id between 990000001 and 990000008 and debt <> 0)" |
      (cd "$here" && "$pgcluster" sql "$cluster" 2>&1 || true))"
expected="6 6 -100.00,-100.00,-100.00,-100.00,-100.00"
if [[ "$got" != "$expected" ]]; then
  echo "FAIL: ledger entries, all entries, balances: got '$got', expected '$expected'"; failures=1
else
  echo "ok: posted once: $got"
fi
exit $failures
