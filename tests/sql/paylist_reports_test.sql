-- Every stored report of school_001 (sys_report) run the way the client runs it: its
-- named parameters filled with text values, as the school.  Over the building of
-- paylist_fixture.sql with posted pay lists of March 2030 (and one of today for the
-- quarantine reports, which look at the current month): each report must run and return
-- rows; the month report "Все" must give one row per pupil who ate, with the days and
-- sums of the pay lists.  Run as the cluster owner; rolled back at the end.
\set ON_ERROR_STOP 1
\set as_school 'set session authorization school_001; set search_path = school_001, public; set datestyle = ''ISO, DMY'';'
\set as_owner 'reset session authorization; set search_path = school_001, public;'
\o /dev/null
begin;
\ir paylist_fixture.sql

-- pupil 990000005 also on the roll this month, for today's pay list
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select node_id, d, q from school_001.sys_matrix,
  (values (cast(date_trunc('month', current_date) as date), 1), (date '2029-12-31', -1)) v(d, q)
where account_id = 990000005;
-- a payment, so that balances of both signs exist
insert into dorv.terminal_extract (entry_date, pay_terminal, transaction_id, account_id, ammount, status)
values ('2030-03-01', 1, 'TEST-990000002-1', 990000002, 1000.00, 4);

:as_school
do $$
declare
  d date;
begin
  -- three posted days of March 2030: everyone with a ration ate, except 990000007 on 06.03
  foreach d in array array[date '2030-03-04', date '2030-03-05', date '2030-03-06'] loop
    perform insert_pay_list(d, 9);
    update pay_list_sp set attr = 1 where entry_date = d and daily_ration <> 0
       and doc_no in (select doc_no from pay_list where corpus = 9)
       and not (account_id = 990000007 and d = date '2030-03-06');
    update pay_list set status = 4 where entry_date = d and corpus = 9;
  end loop;
  -- today's pay list: 990000005 with the ration, not eaten (quarantine)
  perform insert_pay_list(current_date, 9);
  update pay_list_sp set daily_ration = 9901 where account_id = 990000005 and entry_date = current_date;
end $$;

create temporary table report_run (report_id integer, name text, filled_sql text, nrows bigint, error text);
do $$
declare
  r record;
  sql_text text;
  n bigint;
  args jsonb := jsonb_build_object(
    'year_id', '2030', 'month_id', '3', 'corpus_id', '9', 'invalid', '3', 'corpus_note', '001-Т',
    'account_id', '990000001',
    'doc_no', (select doc_no::text from pay_list where corpus = 9 and entry_date = '2030-03-04'));
  k text;
begin
  for r in select * from sys_report order by report_id loop
    sql_text := r.sql_text;
    for k in select jsonb_object_keys(args) loop
      sql_text := regexp_replace(sql_text, '(?<!:):' || k || '\M', quote_literal(args->>k), 'gi');
    end loop;
    begin
      execute 'select count(*) from (' || sql_text || ') x' into n;
      insert into report_run values (r.report_id, r.name, sql_text, n, null);
    exception when others then
      insert into report_run values (r.report_id, r.name, sql_text, null, sqlerrm);
    end;
  end loop;
end $$;

do $$
declare
  failed text := (select string_agg(format('%s "%s": %s', report_id, name, coalesce(error, 'no rows')), E'\n' order by report_id)
                  from report_run where error is not null or nrows = 0);
begin
  if failed is not null then
    raise exception E'reports that failed or returned nothing:\n%', failed;
  end if;
  if (select count(*) from report_run) < 29 then
    raise exception 'only % reports ran', (select count(*) from report_run);
  end if;
end $$;

-- the month report "Все" (10) in numbers: one row per pupil who ate, days and sums of the pay lists
do $$
declare
  sql_text text := (select filled_sql from report_run where report_id = 10);
  got text;
  expected text;
begin
  execute 'select string_agg(concat_ws('' '', account_id, days_count, d4 + d5 + d6, price_sum), '', '' order by account_id) from ('
          || sql_text || ') x' into got;
  select string_agg(concat_ws(' ', account_id, days, days, total), ', ' order by account_id) into expected
  from (select s.account_id, count(*) as days,
               sum(s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam) as total
        from pay_list_sp s join pay_list p on p.doc_no = s.doc_no
        where p.corpus = 9 and p.status = 4 and s.attr = 1 and s.entry_date between '2030-03-01' and '2030-03-31'
        group by s.account_id) e;
  if got is distinct from expected then
    raise exception E'report 10 (account, days, marked days, sum):\n  got      %\n  expected %', got, expected;
  end if;
end $$;

rollback;
