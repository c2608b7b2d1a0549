-- Schema public: the general card file, references shared by all schools, date and
-- period helpers, the announced client version, calculated balances.  The meal
-- reference (funds, meal types, rations, prices, allowance periods) is 15_public_meals.sql.

revoke all on schema public from public;

-- ---------------------------------------------------------------- references
create table public.ref_status (
  status_id integer primary key,
  name      text not null
);
insert into public.ref_status values
  (0, 'Не проведен'), (1, 'В работе'), (2, 'Отправлен'), (3, 'Удален'), (4, 'Проведен');

create table public.ref_paralel (
  paralel_id integer primary key,
  name       text not null
);
insert into public.ref_paralel
  select g, g::text || ' класс' from generate_series(1, 11) g;
insert into public.ref_paralel values (31, 'Ясли'), (32, 'Сад');

create table public.ref_edu_org (
  org_id text primary key check (org_id ~ '^(school|school_ch|chgard)_[^_]{3}$'),
  name   text not null,
  kind   text not null default 'school' check (kind in ('school', 'school_ch', 'chgard'))
);
comment on column public.ref_edu_org.org_id is 'school login = school schema name';

create table public.ref_human_doc_type (
  doc_type_id integer primary key,
  name        text not null
);
insert into public.ref_human_doc_type values
  (1, 'Не указан'), (2, 'Паспорт РФ'), (3, 'Свидетельство о рождении'),
  (4, 'Паспорт иностранного гражданина'), (5, 'Вид на жительство');

-- ---------------------------------------------------------------- people
create sequence public.seq_human start with 100000001 minvalue 100000001 maxvalue 999999999;

create table public.human (
  account_id  integer primary key default nextval('public.seq_human')
              check (account_id between 100000000 and 999999999),
  last_name   text not null,
  first_name  text not null,
  middle_name text not null default '',
  birth_day   date,
  is_invalid  smallint,                     -- 1 = pupil with a disability, null = none
  is_locked   smallint not null default 0 check (is_locked in (0, 1))
);
alter sequence public.seq_human owned by public.human.account_id;
create index human_name_idx on public.human (last_name, first_name, middle_name);
create index human_lower_name_idx on public.human (lower(last_name), lower(first_name));

create table public.chgard_orders (
  schema_name        text    not null references public.ref_edu_org,
  corpus_id          integer not null,
  order_date         date    not null default current_date,
  junior_4           integer not null default 0,
  chgard_4           integer not null default 0,
  junior_5           integer not null default 0,
  chgard_5           integer not null default 0,
  tub_junior_5       integer not null default 0,
  tub_chgard_5       integer not null default 0,
  diabetes_junior_5  integer not null default 0,
  diabetes_chgard_5  integer not null default 0,
  corpus_note        text,
  corpus_1c_code     text,
  primary key (schema_name, corpus_id, order_date)
);

-- ---------------------------------------------------------------- calculated relations
-- Refreshed by server functions; the time of the last refresh is kept in calc_descr.
create table public.calc_current_debt (
  account_id  integer primary key references public.human,
  edu_org     text not null,
  corpus      text,
  paralel     integer,
  class       text,
  last_name   text,
  first_name  text,
  middle_name text,
  last_date   date,
  debt        numeric(12,2) not null default 0
);
create index calc_current_debt_org_idx on public.calc_current_debt (edu_org, corpus);

create table public.calc_all_accounts (
  account_id  integer primary key references public.human,
  full_name   text not null,
  birth_day   date,
  schema_name text,
  is_blocked  smallint not null default 0 check (is_blocked in (0, 1))
);

create table public.calc_descr (
  tbl_name  text primary key,
  calc_date timestamp(0) not null
);

-- ---------------------------------------------------------------- version record
create table public.version_info (
  version text not null,
  url     text not null
);

-- ---------------------------------------------------------------- movement document classes
create table public.ref_move_doc_class (
  doc_class_id integer primary key,
  name         text not null
);
insert into public.ref_move_doc_class values
  (1, 'Зачисление'), (2, 'Выбытие'), (3, 'Перевод'), (4, 'Открытие класса'),
  (5, 'Расформирование класса'), (6, 'Зачисление в группу'), (7, 'Отчисление из группы'),
  (8, 'Открытие группы'), (9, 'Расформирование группы');

-- ================================================================ functions
-- Dates: the server's calendar is the only one used by the client.

create function public.get_current_year() returns integer
  language sql stable as $$ select extract(year from current_date)::integer $$;

create function public.get_current_month() returns integer
  language sql stable as $$ select extract(month from current_date)::integer $$;

-- last day of the month of the date
create function public.get_last_date(on_date date) returns date
  language sql immutable as
$$ select (date_trunc('month', on_date) + interval '1 month' - interval '1 day')::date $$;

-- last day of month m of year y (the end date of a privilege period chosen by month)
create function public.build_date_from_src(y integer, m integer) returns date
  language sql immutable as
$$ select public.get_last_date(make_date(y, m, 1)) $$;

create function public.get_number_selected_month(entry_date date) returns integer
  language sql immutable as $$ select extract(month from entry_date)::integer $$;

create function public.month_name_ru(n integer) returns text
  language sql immutable as
$$ select (array['Январь','Февраль','Март','Апрель','Май','Июнь','Июль','Август',
                 'Сентябрь','Октябрь','Ноябрь','Декабрь'])[n] $$;

-- one row per month of the range month_from .. month_to of the year
create function public.get_period(month_from integer, month_to integer, year_id integer)
  returns table (month_name text, num_month integer, beg_date date, end_date date)
  language sql immutable as
$$
  select public.month_name_ru(m), m, make_date(year_id, m, 1),
         public.get_last_date(make_date(year_id, m, 1))
  from generate_series(greatest(month_from, 1), least(month_to, 12)) m
  order by m
$$;

-- the year also arrives as text (year boxes of the staff and technologist windows)
create function public.get_period(month_from integer, month_to integer, year_id text)
  returns table (month_name text, num_month integer, beg_date date, end_date date)
  language sql immutable as
$$ select * from public.get_period(month_from, month_to, trim(year_id)::integer) $$;

-- first and last day of the month of the current year
create function public.get_period_per_month(x_month integer)
  returns table (x_beg_date date, x_end_date date)
  language sql stable as
$$ select p.beg_date, p.end_date from public.get_period(x_month, x_month, public.get_current_year()) p $$;

create function public.get_period_name(n_month integer) returns text
  language sql immutable as $$ select public.month_name_ru(n_month) $$;

-- "as of" text of a calculated relation, shown after "Состояние счетов на "
create function public.get_descr_for_tbl(tbl_name text) returns text
  language sql stable as
$$
  select coalesce((select to_char(d.calc_date, 'dd.mm.yyyy HH24:MI')
                   from public.calc_descr d where d.tbl_name = get_descr_for_tbl.tbl_name),
                  'нет данных')
$$;

-- full name of a person, null when the account does not exist
create function public.get_people_fullname_by_id(account_id integer) returns text
  language sql stable as
$$
  select trim(trim(h.last_name) || ' ' || trim(h.first_name) || ' ' || trim(coalesce(h.middle_name, '')))
  from public.human h where h.account_id = get_people_fullname_by_id.account_id
$$;

-- The school of the signed-in login (its schema), null for the service accounts.
-- session_user, not current_user: security definer functions call it too.
create function public.caller_school() returns text
  language sql stable as
$$ select o.org_id from public.ref_edu_org o where o.org_id = session_user $$;

-- Whether the pupil is in the card file of the signed-in school; always true for the
-- service accounts.
create function public.caller_may_touch_account(p_account_id integer) returns boolean
  language plpgsql stable as
$$
declare
  sch text := public.caller_school();
  found_it boolean;
begin
  if sch is null then
    return true;
  end if;
  execute format('select exists (select 1 from %I.human_available where account_id = $1)', sch)
    into found_it using p_account_id;
  return found_it;
end
$$;

-- ---------------------------------------------------------------- look-ups
create function public.get_schoolname_list() returns table (x_edu_org text, x_school_name text)
  language sql stable as
$$ select o.org_id, o.name from public.ref_edu_org o order by o.name $$;

create function public.get_people_attr_by_id(p_account_id integer)
  returns table (x_last_name text, x_first_name text, x_middle_name text, x_birth_day date)
  language sql stable as
$$ select h.last_name, h.first_name, h.middle_name, h.birth_day from public.human h where h.account_id = p_account_id $$;

-- Rebuilds public.calc_all_accounts: every account with the school whose card file tracks it.
create function public.do_calc_all_accounts() returns void
  language plpgsql security definer set search_path = pg_catalog, public as
$$
declare
  o record;
begin
  create temporary table tmp_account_school (account_id integer primary key, schema_name text) on commit drop;
  for o in select org_id from public.ref_edu_org order by org_id loop
    execute format('insert into tmp_account_school select account_id, %L from %I.human_available where attr = 0
                    on conflict do nothing', o.org_id, o.org_id);
  end loop;
  delete from public.calc_all_accounts;
  insert into public.calc_all_accounts (account_id, full_name, birth_day, schema_name, is_blocked)
    select h.account_id, public.get_people_fullname_by_id(h.account_id), h.birth_day, s.schema_name, h.is_locked
    from public.human h left join tmp_account_school s on s.account_id = h.account_id;
  insert into public.calc_descr values ('calc_all_accounts', localtimestamp(0))
    on conflict (tbl_name) do update set calc_date = excluded.calc_date;
end
$$;

-- requests of schools to change a pupil's personal data (applied by the staff)
create table public.human_change_request (
  id          integer generated by default as identity primary key,
  entry_date  timestamp(0) not null default localtimestamp(0),
  account_id  integer not null references public.human,
  last_name   text not null,
  first_name  text not null,
  middle_name text not null default '',
  birth_day   date,
  username    text not null
);
