-- The school's day on the server: the pay list made and refreshed by insert_pay_list,
-- the marks, posting and rollback as the school's plain status updates, the refusals of
-- refused dates and locked buildings, and the balances they move.  Run as the cluster
-- owner; the school and the staff act through "set session authorization".  Building 9 of
-- paylist_fixture.sql, Monday 04.03.2030; everything is rolled back at the end.
\set ON_ERROR_STOP 1
\set as_school 'set session authorization school_001; set search_path = school_001, public; set datestyle = ''ISO, DMY'';'
\set as_staff 'set session authorization dorv; set search_path = dorv, public; set datestyle = ''ISO, DMY'';'
\set as_owner 'reset session authorization; set search_path = school_001, public;'
\o /dev/null
begin;
\ir paylist_fixture.sql

-- ---------------------------------------------------------------- a new document
:as_school

do $$
declare
  d integer;
  c record;
begin
  if exists (select 1 from pay_list where corpus = 9) then
    raise exception 'the building has a pay list before the test';
  end if;
  d := insert_pay_list('04.03.2030', 9);   -- the date as the client sends it: untyped text
  if not exists (select 1 from pay_list where doc_no = d and corpus = 9 and entry_date = '2030-03-04' and status = 0) then
    raise exception 'insert_pay_list did not make an unposted document for 04.03.2030';
  end if;
  -- account, ration, class, parents' part, total of the nine parts
  for c in select * from (values
      (990000001, 9901, 9901, 100.00, 380.00),
      (990000002, 9901, 9901, 100.00, 380.00),
      (990000003, 0,    9902, 0.00,   0.00),
      (990000004, 9902, 9902, 0.00,   80.00),
      (990000005, 9901, 9903, 100.00, 380.00),
      (990000006, 9901, 9904, 100.00, 380.00),
      (990000007, 9901, 9905, 100.00, 380.00),
      (990000008, 9901, 9902, 100.00, 380.00)) v(account_id, ration, class, parent, total)
  loop
    if not exists (select 1 from pay_list_sp s
                   where s.doc_no = d and s.account_id = c.account_id and s.daily_ration = c.ration
                     and s.class = c.class and s.attr = 0 and s.entry_date = '2030-03-04' and s.parent = c.parent
                     and s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam = c.total) then
      raise exception 'line of % is not % / class % / parent % / total %: %', c.account_id, c.ration, c.class,
        c.parent, c.total, (select row_to_json(s) from pay_list_sp s where s.doc_no = d and s.account_id = c.account_id);
    end if;
  end loop;
  if (select count(*) from pay_list_sp where doc_no = d) <> 8 then
    raise exception 'expected 8 lines, got %', (select count(*) from pay_list_sp where doc_no = d);
  end if;
  if insert_pay_list('04.03.2030', 9) <> d or (select count(*) from pay_list where corpus = 9) <> 1 then
    raise exception 'a second call made another document';
  end if;
end $$;

-- ---------------------------------------------------------------- marks and rations
do $$
declare
  c record;
  msg text;
begin
  -- the client's single mark and ration change
  update pay_list_sp set attr = 1 where entry_date = '04.03.2030'
     and doc_no in (select doc_no from pay_list where entry_date = '04.03.2030' and corpus = 9) and account_id = 990000001;
  update pay_list_sp set daily_ration = 9903 where account_id = 990000002 and entry_date = '04.03.2030';
  if (select parent from pay_list_sp where account_id = 990000002 and entry_date = '2030-03-04') <> 0 then
    raise exception 'a changed ration did not bring its price';
  end if;
  -- no mark without a ration: refused for one pupil, skipped by the mark for the whole class
  begin
    update pay_list_sp set attr = 1 where account_id = 990000003 and entry_date = '04.03.2030';
    raise exception 'a pupil without a ration was marked';
  exception when raise_exception then
    get stacked diagnostics msg = message_text;
    if msg <> 'Не выбран рацион питания. Для установки отметке о получении питания необходимо выбрать рацион питания учащегося' then
      raise;
    end if;
  end;
  update pay_list_sp t1 set attr = 1
   where doc_no = (select doc_no from pay_list where corpus = 9 and entry_date = '2030-03-04')
     and t1.daily_ration <> 0
     and exists (select 1 from sys_matrix t2 where view = 1 and class = 9902 and t2.account_id = t1.account_id
                   and get_node_saldo(t2.node_id, t1.entry_date, 0) <> 0);
  if (select attr from pay_list_sp where account_id = 990000003 and entry_date = '2030-03-04') <> 0
     or (select attr from pay_list_sp where account_id = 990000004 and entry_date = '2030-03-04') <> 1 then
    raise exception 'the mark for the class did not skip the line without a ration';
  end if;
end $$;

-- the roll changes: 990000008 leaves on 04.03 instead of 05.03, 990000007 moves to class 9903
:as_owner
update school_001.sys_matrix_entry set entry_date = '2030-03-04'
 where qty = -1 and node_id = (select node_id from school_001.sys_matrix where account_id = 990000008);
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select node_id, '2030-03-04', -1 from school_001.sys_matrix where account_id = 990000007;
insert into school_001.sys_matrix (view, account_id, paralel, class) values (1, 990000007, 32, 9903);
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select node_id, '2030-03-04', 1 from school_001.sys_matrix where account_id = 990000007 and class = 9903;
:as_school

do $$
declare
  d integer := (select doc_no from pay_list where corpus = 9 and entry_date = '2030-03-04');
begin
  if insert_pay_list('04.03.2030', 9) <> d then
    raise exception 'the refresh made a new document';
  end if;
  if exists (select 1 from pay_list_sp where doc_no = d and account_id = 990000008) then
    raise exception 'the line of a pupil who left stayed';
  end if;
  if (select class from pay_list_sp where doc_no = d and account_id = 990000007) <> 9903 then
    raise exception 'the moved pupil kept the old class';
  end if;
  if (select attr from pay_list_sp where doc_no = d and account_id = 990000001) <> 1
     or (select daily_ration from pay_list_sp where doc_no = d and account_id = 990000002) <> 9903
     or (select attr from pay_list_sp where doc_no = d and account_id = 990000004) <> 1 then
    raise exception 'the refresh lost marks or rations';
  end if;
  if (select count(*) from pay_list_sp where doc_no = d) <> 7 then
    raise exception 'expected 7 lines after the refresh';
  end if;
end $$;

-- ---------------------------------------------------------------- posting and rollback
-- what the ledger and the balance of pupil 990000001 say about the document of 04.03.2030
:as_owner
create temporary table expectation (entries integer, debt numeric);
create function pg_temp.check_ledger(what text) returns void language plpgsql as $$
declare
  d integer := (select doc_no from school_001.pay_list where corpus = 9 and entry_date = '2030-03-04');
  e record := (select x from expectation x);
begin
  if (select count(*) from dorv.sys_entry where doc_class = 1 and edu_org = 'school_001' and doc_no = d) <> e.entries
     or coalesce((select debt from public.calc_current_debt where account_id = 990000001), 0) <> e.debt then
    raise exception '%: ledger %, balance %', what,
      (select json_agg(x) from dorv.sys_entry x where x.doc_class = 1 and x.edu_org = 'school_001' and x.doc_no = d),
      (select debt from public.calc_current_debt where account_id = 990000001);
  end if;
end $$;
-- 990000001 ate at 100.00 of the parents, 990000004 a staff meal (no parents' part): an entry
-- each, the staff meal's of 0 (it only dates the pupil's last meal)
insert into expectation select 2, coalesce((select debt from public.calc_current_debt where account_id = 990000001), 0) - 100.00;

:as_school
update pay_list set status = 4 where entry_date = '04.03.2030' and corpus = 9;
:as_owner
select pg_temp.check_ledger('posting');
do $$ begin
  if (select ammount from dorv.sys_entry where doc_class = 1 and edu_org = 'school_001' and account_id = 990000001) <> -100.00
     or (select corpus from public.calc_current_debt where account_id = 990000001) <> '001-Т' then
    raise exception 'posting wrote a wrong entry or balance row';
  end if;
  if (select last_date from public.calc_current_debt where account_id = 990000004) is distinct from date '2030-03-04'
     or (select ammount from dorv.sys_entry where doc_class = 1 and edu_org = 'school_001' and account_id = 990000004
           and entry_date = '2030-03-04') <> 0 then
    raise exception 'a meal without a parents'' part does not date the last meal';
  end if;
end $$;

:as_school
update pay_list set status = 4 where entry_date = '04.03.2030' and corpus = 9;
:as_owner
select pg_temp.check_ledger('posting twice');

-- a posted document refuses marks, rations and the roll refresh
:as_school
do $$
declare
  c record;
  msg text;
begin
  for c in select * from (values
      ('mark', $q$update pay_list_sp set attr = 0 where account_id = 990000001 and entry_date = '04.03.2030'$q$),
      ('ration', $q$update pay_list_sp set daily_ration = 9902 where account_id = 990000001 and entry_date = '04.03.2030'$q$),
      ('class mark', $q$update pay_list_sp set attr = 0 where doc_no = (select doc_no from pay_list where corpus = 9 and entry_date = '2030-03-04') and daily_ration <> 0$q$)
    ) v(what, stmt)
  loop
    begin
      execute c.stmt;
      raise exception '% on a posted document was accepted', c.what;
    exception when raise_exception then
      get stacked diagnostics msg = message_text;
      if msg <> 'Вы пытаетесь изменить спецификацию в проведенной ведомости. Отмените проводку и попробуйте снова' then
        raise;
      end if;
    end;
  end loop;
end $$;

:as_owner
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select node_id, '2030-03-04', -1 from school_001.sys_matrix where account_id = 990000006;
:as_school

do $$
declare
  d integer := (select doc_no from pay_list where corpus = 9 and entry_date = '2030-03-04');
begin
  perform insert_pay_list('04.03.2030', 9);
  if not exists (select 1 from pay_list_sp where doc_no = d and account_id = 990000006) then
    raise exception 'the roll refresh changed a posted document';
  end if;
end $$;

-- rollback takes the entry out and the balance back; a second rollback changes nothing
update pay_list set status = 0 where entry_date = '04.03.2030' and corpus = 9;
:as_owner
update expectation set entries = 0, debt = debt + 100.00;
select pg_temp.check_ledger('rollback');
:as_school
update pay_list set status = 0 where entry_date = '04.03.2030' and corpus = 9;
:as_owner
select pg_temp.check_ledger('rollback of an unposted document');

:as_school
do $$ begin
  -- once unposted, the refresh works again
  perform insert_pay_list('04.03.2030', 9);
  if exists (select 1 from pay_list_sp s join pay_list p on p.doc_no = s.doc_no
             where p.corpus = 9 and p.entry_date = '2030-03-04' and s.account_id = 990000006) then
    raise exception 'the refresh of the unposted document kept a pupil who left';
  end if;
end $$;

-- ---------------------------------------------------------------- refused date and locked building
-- a second document, posted, on 05.03.2030 for the rollback refusals
do $$ begin
  perform insert_pay_list('05.03.2030', 9);
  update pay_list_sp set attr = 1 where account_id = 990000001 and entry_date = '05.03.2030';
  update pay_list set status = 4 where entry_date = '05.03.2030' and corpus = 9;
end $$;

:as_staff
select dorv.set_refused_paylist_date('04.03.2030', 'Сверка');
select dorv.set_refused_paylist_date('05.03.2030', 'Сверка');
:as_school

create temporary table refusal_case (what text, stmt text, expected text);
insert into refusal_case values
  ('posting on a refused date', $q$update pay_list set status = 4 where entry_date = '04.03.2030' and corpus = 9$q$,
   'Уважаемый пользователь, для выбранной даты установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. '),
  ('rollback on a refused date', $q$update pay_list set status = 0 where entry_date = '05.03.2030' and corpus = 9$q$,
   'Уважаемый пользователь, для выбранной даты установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. ');

create function pg_temp.check_refusals() returns void language plpgsql as $$
declare
  c record;
  msg text;
begin
  for c in select * from refusal_case loop
    begin
      execute c.stmt;
      raise exception '% was accepted', c.what;
    exception when raise_exception then
      get stacked diagnostics msg = message_text;
      if msg is distinct from c.expected then
        raise exception '%: message "%"', c.what, msg;
      end if;
    end;
  end loop;
  if (select status from pay_list where corpus = 9 and entry_date = '2030-03-04') <> 0
     or (select status from pay_list where corpus = 9 and entry_date = '2030-03-05') <> 4 then
    raise exception 'a refused status change left traces';
  end if;
end $$;
select pg_temp.check_refusals();

-- the staff lifts the refused dates and locks the building instead
:as_staff
delete from dorv.refused_paylist_date where entry_date in ('2030-03-04', '2030-03-05');
update school_001.ref_corpus set is_pay_list_blocked = 1, who_blocked = 'Смирнова О. П.' where corpus_id = 9;
:as_school
update refusal_case set what = replace(what, 'on a refused date', 'in a locked building'),
  expected = 'Уважаемый пользователь, для выбранного вами корпуса установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. '
             || E'\r' || 'Администратор Смирнова О. П.';
select pg_temp.check_refusals();
:as_owner
do $$ begin
  if (select count(*) from dorv.sys_entry where doc_class = 1 and account_id between 990000001 and 990000008) <> 1 then
    raise exception 'refused status changes moved the ledger';
  end if;
end $$;

-- ---------------------------------------------------------------- balance = payments in - meals eaten
:as_staff
update school_001.ref_corpus set is_pay_list_blocked = null, who_blocked = null where corpus_id = 9;
insert into dorv.terminal_extract (entry_date, pay_terminal, transaction_id, account_id, ammount, status) values
  ('2030-03-01', 1, 'TEST-990000001-1', 990000001, 250.00, 4),
  ('2030-03-02', 1, 'TEST-990000001-2', 990000001, 40.00, 0),      -- not posted: not counted
  ('2030-03-01', 1, 'TEST-990000004-1', 990000004, 70.00, 4);
:as_school
update pay_list set status = 4 where entry_date = '04.03.2030' and corpus = 9;

:as_owner
do $$
declare
  c record;
begin
  -- 990000001: 250.00 paid, ate on 04.03 and 05.03 at 100.00; 990000004: 70.00 paid, staff meals only
  for c in select * from (values (990000001, 50.00), (990000004, 70.00), (990000002, 0.00)) v(account_id, debt) loop
    if coalesce((select debt from public.calc_current_debt where account_id = c.account_id), 0) <> c.debt
       or coalesce((select debt from public.calc_current_debt where account_id = c.account_id), 0) <>
          coalesce((select sum(ammount) from dorv.terminal_extract where account_id = c.account_id and status = 4), 0)
          - coalesce((select sum(s.parent) from pay_list_sp s join pay_list p on p.doc_no = s.doc_no
                      where s.account_id = c.account_id and p.status = 4 and s.attr = 1), 0) then
      raise exception 'balance of % is %, expected %', c.account_id,
        (select debt from public.calc_current_debt where account_id = c.account_id), c.debt;
    end if;
  end loop;
end $$;

-- the rebuilt balances agree with the maintained ones
create temporary table kept_debt as
  select account_id, debt from public.calc_current_debt where account_id between 990000001 and 990000008;
select public.do_calc_current_debt();
do $$ begin
  if exists (select 1 from kept_debt k join public.calc_current_debt c using (account_id) where c.debt <> k.debt) then
    raise exception 'do_calc_current_debt disagrees with the maintained balances';
  end if;
end $$;

rollback;
