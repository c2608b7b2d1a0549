#!/usr/bin/env python3
"""Runs client statements of the statement catalogue against a cluster, each as the login
that sends it, with sample values for its parameters, inside a transaction that is rolled
back.  Prints one line per statement and run; exits 1 when any statement fails.

    run_statements.py CLUSTER_DIR CATALOGUE.sql [NAME_PREFIX ...]

Logins: "school" runs as school_001, "any" as school_001 and as dorv, the others as named.
Parameters are passed the way the client binds them: integers and typed dates as typed
values, text dates (textdate) as untyped 'dd.mm.yyyy' literals, texts as text.
"""
import os
import re
import subprocess
import sys

SAMPLES = {  # name -> value (per login where the value names the user)
    'account_id': '100000004', 'p_account_id': '100000004', 'attr': '1',
    'corpus': '1', 'corpus_id': '1', 'gr_id': '1', 'group': '1', 'm': '2', 'y': '2024',
    'p_month': '2', 'p_year': '2024', 'x_month': '2', 'year_id': '2024', 'pay_agent': '3',
    'p_action': '1', 'par_name_all': '1', 'x_id_news': None,
    'on_date': None, 'entry_date': None, 'p_beg_date': '2024-01-09', 'p_end_date': '2024-01-09',
    'p_entry_date': '2024-01-09', 'date_beg': '2024-01-01', 'date_end': '2024-01-31',
    'func_name': 'popup_is_700', 'tbl_name': 'calc_current_debt', 'note': '001-1',
    'name': 'show_balance', 'name_val': 'test_property', 'value': '0', 'par_name': 'Е%',
    'paralel_id': '1', 'x_message': 'проверочное сообщение', 'x_module': 'dm_api',
    'version_client': '2.0.0.327', 'mac_addr': '00-1A-2B-3C-4D-5E',
}
USER_PARAMS = {'x_schema', 'schema_name', 'x_user_name', 'username'}
SERVICE = {'dorv', 'dorv_technolog', 'admin'}


def literal(name, kind, login):
    if name in USER_PARAMS:
        return "'%s'" % login
    if name == 'x_id_news':
        return '3' if login in SERVICE else '1'
    value = SAMPLES.get(name)
    if kind == 'textdate':
        return "'29.02.2024'"
    if kind == 'date':
        return "'%s'::date" % (value or '2024-02-29')
    if kind == 'datetime':
        return "'%s'::timestamp" % (value or '2024-02-29 10:00')
    if kind in ('int', 'float'):
        return value or '1'
    return "'%s'::text" % (value if value is not None else 'x')


def entries(path):
    text = open(path, encoding='utf-8').read()
    for block in text.split('\n;;'):
        meta, sql = {}, []
        for line in block.strip('\n').split('\n'):
            m = re.match(r'-- @(\w+) ?(.*)', line)
            if m:
                meta[m.group(1)] = m.group(2).strip()
            elif line.strip():
                sql.append(line)
        if meta.get('name'):
            yield meta, '\n'.join(sql)


def main():
    cluster, catalogue, prefixes = sys.argv[1], sys.argv[2], sys.argv[3:]
    pgcluster = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'pgcluster')
    failed = 0
    for meta, sql in entries(catalogue):
        if prefixes and not any(meta['name'].startswith(p) for p in prefixes):
            continue
        login = meta.get('login', 'any')
        logins = {'school': ['school_001'], 'any': ['school_001', 'dorv']}.get(login, [login])
        params = [] if meta.get('params', 'none') == 'none' else \
            [p.strip().split(':') for p in meta['params'].split(',')]
        for user in logins:
            body = sql.replace('{schema}', 'school_001')
            for name, kind in sorted(params, key=lambda p: -len(p[0])):
                body = re.sub(r':%s\b' % re.escape(name), literal(name, kind, user), body)
            script = 'begin;\n%s\n;\nrollback;\n' % body
            run = subprocess.run([pgcluster, 'psql', cluster, user, '-X', '-q', '-v', 'ON_ERROR_STOP=1',
                                  '-At', '-F', '|'], input=script, text=True, capture_output=True)
            rows = [r for r in run.stdout.splitlines() if r]
            status = 'ok  ' if run.returncode == 0 else 'FAIL'
            failed += run.returncode != 0
            first = (rows[0] if rows else '')[:90]
            print('%s %-40s %-14s rows=%d %s' % (status, meta['name'], user, len(rows), first))
            if run.returncode:
                print('     ' + run.stderr.strip().replace('\n', '\n     '))
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
