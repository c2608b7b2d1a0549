-- The money ledger and what hangs on it: balances of personal accounts, payments as
-- ledger entries, the posting of schools' pay lists into the ledger, the staff's month
-- matrix of pay lists, a pupil's account detail, rations set for a week or for a class,
-- kindergarten orders.
--
-- Every movement of money on a personal account is a row of dorv.sys_entry (positive =
-- money in, negative = money out).  public.calc_current_debt.debt is the sum of an
-- account's ledger rows, kept up to date by the statement triggers on dorv.sys_entry, so
-- reading a balance is one index look-up; public.do_calc_current_debt() rebuilds it from
-- the ledger.

-- ---------------------------------------------------------------- ledger
create table dorv.ref_entry_class (
  doc_class integer primary key,
  name      text not null
);
insert into dorv.ref_entry_class values
  (0, 'Входящий остаток'),
  (1, 'Питание по ведомости (родительская часть)'),
  (7, 'Платеж через терминал или платежного агента');

alter table dorv.sys_entry
  add column edu_org text references public.ref_edu_org;   -- school of a pay-list entry
comment on column dorv.sys_entry.doc_no is
  'doc_class 1: pay_list.doc_no of the school edu_org; doc_class 7: dorv.terminal_extract.seq_no';
-- one entry per pupil and posted pay list, one per payment: a second posting cannot double them
create unique index sys_entry_pay_list_uq on dorv.sys_entry (edu_org, doc_no, account_id) where doc_class = 1;
create unique index sys_entry_payment_uq on dorv.sys_entry (doc_no) where doc_class = 7;

-- the balance row of an account appears with its first ledger entry or pay list
alter table public.calc_current_debt alter column edu_org drop not null;
create index calc_current_debt_debt_idx on public.calc_current_debt (edu_org, debt);

-- School whose card file tracks the account (null when none does).
create function dorv.account_school(p_account_id integer) returns text
  language plpgsql stable security definer set search_path = pg_catalog, public as
$$
declare
  o record;
  found_it boolean;
begin
  for o in select org_id from public.ref_edu_org order by org_id loop
    execute format('select exists (select 1 from %I.human_available where account_id = $1 and attr = 0)', o.org_id)
      into found_it using p_account_id;
    if found_it then
      return o.org_id;
    end if;
  end loop;
  return null;
end
$$;

create function dorv.touch_calc_descr() returns void
  language sql security definer set search_path = pg_catalog, public as
$$
  insert into public.calc_descr values ('calc_current_debt', localtimestamp(0))
  on conflict (tbl_name) do update set calc_date = excluded.calc_date
$$;

-- Balances follow the ledger: added entries add to the balance, removed ones subtract.
create function dorv.sys_entry_to_balance_added() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public, dorv as
$$
begin
  insert into public.calc_current_debt as c (account_id, edu_org, last_name, first_name, middle_name, last_date, debt)
  select a.account_id, coalesce(a.edu_org, dorv.account_school(a.account_id)),
         h.last_name, h.first_name, h.middle_name, a.last_meal, a.total
  from (select n.account_id, sum(n.ammount) as total, max(n.entry_date) filter (where n.doc_class = 1) as last_meal,
               max(n.edu_org) as edu_org
        from added n where n.account_id is not null group by n.account_id) a
  join public.human h on h.account_id = a.account_id
  on conflict (account_id) do update
    set debt = c.debt + excluded.debt,
        last_date = greatest(c.last_date, excluded.last_date),
        edu_org = coalesce(c.edu_org, excluded.edu_org);
  perform dorv.touch_calc_descr();
  return null;
end
$$;

create function dorv.sys_entry_to_balance_removed() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public, dorv as
$$
begin
  update public.calc_current_debt c
     set debt = c.debt - r.total,
         last_date = (select max(e.entry_date) from dorv.sys_entry e
                      where e.account_id = c.account_id and e.doc_class = 1)
    from (select o.account_id, sum(o.ammount) as total from removed o
          where o.account_id is not null group by o.account_id) r
   where c.account_id = r.account_id;
  perform dorv.touch_calc_descr();
  return null;
end
$$;

create trigger sys_entry_balance_ins after insert on dorv.sys_entry
  referencing new table as added for each statement execute function dorv.sys_entry_to_balance_added();
create trigger sys_entry_balance_del after delete on dorv.sys_entry
  referencing old table as removed for each statement execute function dorv.sys_entry_to_balance_removed();
create trigger sys_entry_balance_upd_old after update on dorv.sys_entry
  referencing old table as removed for each statement execute function dorv.sys_entry_to_balance_removed();
create trigger sys_entry_balance_upd_new after update on dorv.sys_entry
  referencing new table as added for each statement execute function dorv.sys_entry_to_balance_added();

-- Rebuilds every balance from the ledger and the roll attributes from the schools' last
-- posted pay lists (after roll movements, or to check the maintained balances).
create function public.do_calc_current_debt() returns void
  language plpgsql security definer set search_path = pg_catalog, public as
$$
declare
  o record;
begin
  update public.calc_current_debt c set debt = 0, last_date = null
   where not exists (select 1 from dorv.sys_entry e where e.account_id = c.account_id);
  insert into public.calc_current_debt as c (account_id, edu_org, last_name, first_name, middle_name, last_date, debt)
  select e.account_id, null, h.last_name, h.first_name, h.middle_name,
         max(e.entry_date) filter (where e.doc_class = 1), sum(e.ammount)
  from dorv.sys_entry e join public.human h on h.account_id = e.account_id
  group by e.account_id, h.last_name, h.first_name, h.middle_name
  on conflict (account_id) do update set debt = excluded.debt, last_date = excluded.last_date,
    last_name = excluded.last_name, first_name = excluded.first_name, middle_name = excluded.middle_name;
  for o in select org_id from public.ref_edu_org order by org_id loop
    execute format('select %I.refresh_balance_roll(null)', o.org_id);
  end loop;
  perform dorv.touch_calc_descr();
end
$$;

-- ---------------------------------------------------------------- payments
-- A payment row counts in the ledger while its status is 4 (posted).
create function dorv.terminal_extract_to_ledger_added() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public, dorv as
$$
begin
  insert into dorv.sys_entry (doc_class, doc_no, entry_date, account_id, ammount)
  select 7, n.seq_no, n.entry_date, n.account_id, n.ammount from added n where n.status = 4
  on conflict do nothing;
  return null;
end
$$;

create function dorv.terminal_extract_to_ledger_removed() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public, dorv as
$$
begin
  delete from dorv.sys_entry e using removed o where e.doc_class = 7 and e.doc_no = o.seq_no;
  return null;
end
$$;

create trigger terminal_extract_ledger_ins after insert on dorv.terminal_extract
  referencing new table as added for each statement execute function dorv.terminal_extract_to_ledger_added();
create trigger terminal_extract_ledger_del after delete on dorv.terminal_extract
  referencing old table as removed for each statement execute function dorv.terminal_extract_to_ledger_removed();
create trigger terminal_extract_ledger_upd_old after update on dorv.terminal_extract
  referencing old table as removed for each statement execute function dorv.terminal_extract_to_ledger_removed();
create trigger terminal_extract_ledger_upd_new after update on dorv.terminal_extract
  referencing new table as added for each statement execute function dorv.terminal_extract_to_ledger_added();

-- ---------------------------------------------------------------- account detail
-- Ledger of one account with the running balance (report 11 "Детализация счета").
create function public.get_account_detail(p_account_id integer)
  returns table (x_entry_date date, x_operation text, x_edu_org text, x_doc_no integer,
                 x_income numeric, x_expense numeric, x_balance numeric)
  language plpgsql stable security definer set search_path = pg_catalog, public as
$$
begin
  if not public.caller_may_touch_account(p_account_id) then
    raise exception using errcode = 'insufficient_privilege',
      message = format('Учащийся с номером счета %s не числится в вашей организации', p_account_id);
  end if;
  return query
    select e.entry_date, c.name, e.edu_org, e.doc_no,
           case when e.ammount > 0 then e.ammount end, case when e.ammount < 0 then -e.ammount end,
           sum(e.ammount) over (order by e.entry_date, e.entry_id)
    from dorv.sys_entry e join dorv.ref_entry_class c on c.doc_class = e.doc_class
    where e.account_id = p_account_id
    order by e.entry_date, e.entry_id;
end
$$;

-- ---------------------------------------------------------------- staff matrix
-- Pay lists of every building of every school in month m of year y: x_row is the
-- building's row in the matrix (labels in ascending order, from 1), x_col the day.
create function dorv.get_statistic_matrix(m integer, y integer)
  returns table (x_status integer, x_row integer, x_col integer, x_is_blocked integer, x_corpus_id integer)
  language plpgsql stable security definer set search_path = pg_catalog, public, dorv as
$$
declare
  o record;
  beg_d date := make_date(y, m, 1);
begin
  create temporary table if not exists tmp_matrix_cells (note text, corpus_id integer, status integer,
                                                         day integer, blocked integer) on commit drop;
  truncate tmp_matrix_cells;
  for o in select org_id from public.ref_edu_org order by org_id loop
    execute format('insert into tmp_matrix_cells
                    select c.note::text, c.corpus_id, p.status, extract(day from p.entry_date)::integer,
                           coalesce(c.is_pay_list_blocked, 0)
                    from %1$I.ref_corpus c join %1$I.pay_list p on p.corpus = c.corpus_id
                    where p.entry_date between $1 and $2', o.org_id)
      using beg_d, public.get_last_date(beg_d);
  end loop;
  return query
    select t.status, r.row_no::integer, t.day, t.blocked, t.corpus_id
    from tmp_matrix_cells t
    join (select x_corpus_name, row_number() over (order by x_corpus_name) as row_no
          from dorv.get_statistic_rows()) r on r.x_corpus_name = t.note
    order by 2, 3;
end
$$;

-- ---------------------------------------------------------------- rations
-- The ration of a pupil for the whole week (Monday to Sunday) of the date, in the
-- signed-in school: kept as a plan that new pay lists follow, and written into the
-- pupil's lines of that week's unposted pay lists.
create function public.set_multiply_daly_ration(p_account_id integer, p_on_date timestamp, p_daily_ration integer)
  returns void language plpgsql security definer set search_path = pg_catalog, public as
$$
declare
  sch text := public.caller_school();
begin
  if sch is null then
    raise exception 'Рацион на неделю задается только из учетной записи образовательного учреждения';
  end if;
  if not public.caller_may_touch_account(p_account_id) then
    raise exception using errcode = 'insufficient_privilege',
      message = format('Учащийся с номером счета %s не числится в вашей организации', p_account_id);
  end if;
  execute format('select %I.plan_week_ration($1, $2, $3)', sch) using p_account_id, p_on_date::date, p_daily_ration;
end
$$;

-- The ration of every pupil of a class in one pay list of the school p_edu_org.
create function service_docs.set_daily_ration_for_class(p_edu_org text, p_doc_no integer, p_class integer,
                                                         p_daily_ration integer)
  returns void language plpgsql security definer set search_path = pg_catalog, public as
$$
begin
  if public.caller_school() is distinct from p_edu_org and public.caller_school() is not null then
    raise exception using errcode = 'insufficient_privilege',
      message = format('Нет доступа к ведомостям ОУ %s', p_edu_org);
  end if;
  if not exists (select 1 from public.ref_edu_org where org_id = p_edu_org) then
    raise exception 'Образовательное учреждение % не найдено', p_edu_org;
  end if;
  execute format('update %I.pay_list_sp set daily_ration = $1 where doc_no = $2 and class = $3', p_edu_org)
    using p_daily_ration, p_doc_no, p_class;
end
$$;

-- ---------------------------------------------------------------- kindergarten orders
-- The day's order of portions of a kindergarten building; the counts arrive by position
-- in the order of the order dialog: 4-meal nursery and kindergarten, 5-meal nursery and
-- kindergarten, TB nursery and kindergarten, diabetes nursery and kindergarten.
create function public.save_chgard_order(p_schema_name text, c1 integer, c2 integer, c3 integer, c4 integer,
                                         c5 integer, c6 integer, c7 integer, c8 integer, p_corpus_id integer)
  returns void language plpgsql security definer set search_path = pg_catalog, public as
$$
begin
  if public.caller_school() is distinct from p_schema_name and public.caller_school() is not null then
    raise exception using errcode = 'insufficient_privilege',
      message = format('Нет доступа к заявкам ОУ %s', p_schema_name);
  end if;
  if least(c1, c2, c3, c4, c5, c6, c7, c8) < 0 then
    raise exception 'Количество порций в заявке не может быть отрицательным';
  end if;
  insert into public.chgard_orders (schema_name, corpus_id, order_date, junior_4, chgard_4, junior_5, chgard_5,
                                    tub_junior_5, tub_chgard_5, diabetes_junior_5, diabetes_chgard_5)
  values (p_schema_name, p_corpus_id, current_date, coalesce(c1, 0), coalesce(c2, 0), coalesce(c3, 0),
          coalesce(c4, 0), coalesce(c5, 0), coalesce(c6, 0), coalesce(c7, 0), coalesce(c8, 0))
  on conflict (schema_name, corpus_id, order_date) do update
    set junior_4 = excluded.junior_4, chgard_4 = excluded.chgard_4, junior_5 = excluded.junior_5,
        chgard_5 = excluded.chgard_5, tub_junior_5 = excluded.tub_junior_5, tub_chgard_5 = excluded.tub_chgard_5,
        diabetes_junior_5 = excluded.diabetes_junior_5, diabetes_chgard_5 = excluded.diabetes_chgard_5;
end
$$;

-- ---------------------------------------------------------------- privileges
grant select on dorv.ref_entry_class to grp_users;
-- (public.do_calc_current_debt is executable by every login like all public functions:
-- it only recalculates what the ledger already says)
grant execute on function dorv.get_statistic_matrix(integer, integer) to dorv, dorv_technolog;
grant execute on function service_docs.set_daily_ration_for_class(text, integer, integer, integer) to grp_schools;
