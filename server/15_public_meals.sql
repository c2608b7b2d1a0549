-- The meal reference shared by all schools (schema public): payers (funds), meal types,
-- rations and their composition, dated prices of each meal type split by payer and
-- parallel range, the price of a ration on a date, and the pupils' 700-rouble allowance
-- periods.  Rations available per building and weekday rations per pupil live in each
-- school's schema (daily_ration_available, human_food_type in the school template).
--
-- Refusals that the meal-type window relies on are raised in Russian by the triggers
-- below (the error handler shows only Cyrillic lines); the constraints stay as the last
-- word for anything that bypasses the triggers.

create extension if not exists btree_gist with schema public;   -- integer/date equality in the exclusion constraint

-- ---------------------------------------------------------------- payers
-- pay_fund_id n pays the part named by mealref_type's n-th found_* column:
-- 1 found_parent, 2 found_dorv, 3 found_privilege, 4 found_subsidy, 5 found_ovz,
-- 6 found_staff, 7 found_junior, 8 found_mob, 9 found_fam; 666 = several funds at once.
create table public.ref_pay_fund (
  pay_fund_id integer primary key,
  "name"      text not null
);
insert into public.ref_pay_fund values
  (1, 'Родительская плата'), (2, 'КШП'), (3, 'Льготное питание'), (4, 'Бесплатное питание'),
  (5, 'ОВЗ'), (6, 'Питание персонала'), (7, 'Питание младших классов'),
  (8, 'Семьи мобилизованных'), (9, 'Многодетные семьи'), (666, 'Смешанное финансирование');

-- ---------------------------------------------------------------- meal types and rations
create table public.mealref_type (
  food_type_id    integer primary key,
  name            text not null check (btrim(name) <> ''),
  -- non-null when that fund pays a part of the meal type (integer: the fund filters look
  -- the columns up in information_schema by data type)
  found_parent    integer, found_dorv integer, found_privilege integer, found_subsidy integer,
  found_ovz       integer, found_staff integer, found_junior integer, found_mob integer, found_fam integer
);

create table public.ref_daily_ration (
  daily_ration_id integer primary key,
  "name"          text not null check (btrim("name") <> ''),
  disabled        smallint not null default 0 check (disabled in (0, 1))   -- 1 = withdrawn, never removed
);
-- ration 0 = "no ration chosen" in pay-list lines
insert into public.ref_daily_ration values (0, 'Не выбран', 1);

create table public.ref_daily_ration_sp (
  daily_ration integer not null references public.ref_daily_ration on delete restrict,
  food_type    integer not null references public.mealref_type on delete restrict,   -- a used meal type stays
  primary key (daily_ration, food_type)
);
create index ref_daily_ration_sp_food_type_idx on public.ref_daily_ration_sp (food_type);

-- ---------------------------------------------------------------- prices
-- A row is the price of a meal type for the parallels paralel_min..paralel_max from
-- actual_date until the next row of that meal type covering the parallel.  Rows of one
-- meal type and date never cover a parallel twice.  The primary key's index, meal type
-- then date, is the one public.get_price walks backwards from the date.
create table public.mealref_price (
  actual_date date    not null,
  food_type   integer not null references public.mealref_type on delete restrict,
  paralel_min integer not null references public.ref_paralel,
  paralel_max integer not null references public.ref_paralel,
  parent      numeric(12,2) not null default 0,   -- СЗП, parents
  dorv        numeric(12,2) not null default 0,   -- КШП, the plant
  privilege   numeric(12,2) not null default 0,   -- Л, privilege
  subsidy     numeric(12,2) not null default 0,   -- Б, free meals
  ovz         numeric(12,2) not null default 0,   -- ОВЗ, special needs
  staff       numeric(12,2) not null default 0,   -- ПС, staff
  junior      numeric(12,2) not null default 0,   -- ПМК, junior classes
  mob         numeric(12,2) not null default 0,   -- Моб, mobilised families (not edited by the meal-type window)
  fam         numeric(12,2) not null default 0,   -- Мдет, large families (not edited by the meal-type window)
  primary key (food_type, actual_date, paralel_min, paralel_max),
  constraint mealref_price_paralel_range check (paralel_min <= paralel_max),
  constraint mealref_price_not_negative check (
    parent >= 0 and dorv >= 0 and privilege >= 0 and subsidy >= 0 and ovz >= 0
    and staff >= 0 and junior >= 0 and mob >= 0 and fam >= 0),
  constraint mealref_price_no_overlap exclude using gist (
    food_type with =, actual_date with =, int4range(paralel_min, paralel_max, '[]') with &&)
);

-- Russian refusals of bad price rows, before the constraints would refuse them in English.
create function public.mealref_price_check() returns trigger
  language plpgsql set search_path = pg_catalog, public as
$$
declare
  part record;
  other record;
begin
  if new.actual_date is null then
    raise exception using errcode = 'not_null_violation',
      message = 'Не указана дата, с которой действует цена';
  end if;
  if new.paralel_min is null or new.paralel_max is null then
    raise exception using errcode = 'not_null_violation',
      message = 'Не указаны минимальная и максимальная параллели цены';
  end if;
  if new.paralel_min > new.paralel_max then
    raise exception using errcode = 'check_violation',
      message = format('Минимальная параллель (%s) больше максимальной (%s)', new.paralel_min, new.paralel_max);
  end if;
  if not exists (select 1 from public.ref_paralel where paralel_id = new.paralel_min)
     or not exists (select 1 from public.ref_paralel where paralel_id = new.paralel_max) then
    raise exception using errcode = 'foreign_key_violation',
      message = format('Параллели %s нет в справочнике параллелей',
                       case when exists (select 1 from public.ref_paralel where paralel_id = new.paralel_min)
                            then new.paralel_max else new.paralel_min end);
  end if;
  for part in
    select * from (values ('СЗП', new.parent), ('КШП', new.dorv), ('Л', new.privilege), ('Б', new.subsidy),
                          ('ОВЗ', new.ovz), ('ПС', new.staff), ('ПМК', new.junior), ('Моб', new.mob),
                          ('Мдет', new.fam)) v(title, amount)
  loop
    if part.amount is null then
      raise exception using errcode = 'not_null_violation',
        message = format('Не указана часть цены «%s»', part.title);
    elsif part.amount < 0 then
      raise exception using errcode = 'check_violation',
        message = format('Часть цены «%s» не может быть отрицательной: %s', part.title, part.amount);
    end if;
  end loop;
  select p.paralel_min, p.paralel_max into other
    from public.mealref_price p
   where p.food_type = new.food_type and p.actual_date = new.actual_date
     and int4range(p.paralel_min, p.paralel_max, '[]') && int4range(new.paralel_min, new.paralel_max, '[]')
     and (tg_op = 'INSERT' or (p.food_type, p.actual_date, p.paralel_min, p.paralel_max)
                              is distinct from (old.food_type, old.actual_date, old.paralel_min, old.paralel_max))
   limit 1;
  if found then
    raise exception using errcode = 'exclusion_violation',
      message = format('Цена типа питания %s с %s для параллелей %s-%s пересекается с ценой для параллелей %s-%s',
                       new.food_type, to_char(new.actual_date, 'dd.mm.yyyy'), new.paralel_min, new.paralel_max,
                       other.paralel_min, other.paralel_max);
  end if;
  return new;
end
$$;
create trigger mealref_price_check before insert or update on public.mealref_price
  for each row execute function public.mealref_price_check();

-- A ration code is typed by the user: a taken or missing one is refused in Russian.
create function public.ref_daily_ration_check() returns trigger
  language plpgsql set search_path = pg_catalog, public as
$$
declare
  taken text;
begin
  if new.daily_ration_id is null then
    raise exception using errcode = 'not_null_violation', message = 'Не указан код рациона';
  end if;
  if new."name" is null or btrim(new."name") = '' then
    raise exception using errcode = 'check_violation', message = 'Не указано наименование рациона';
  end if;
  if tg_op = 'INSERT' or new.daily_ration_id <> old.daily_ration_id then
    select r."name" into taken from public.ref_daily_ration r where r.daily_ration_id = new.daily_ration_id;
    if found then
      raise exception using errcode = 'unique_violation',
        message = format('Рацион с кодом %s уже есть: «%s»', new.daily_ration_id, taken);
    end if;
  end if;
  return new;
end
$$;
create trigger ref_daily_ration_check before insert or update on public.ref_daily_ration
  for each row execute function public.ref_daily_ration_check();

create function public.ref_daily_ration_sp_check() returns trigger
  language plpgsql set search_path = pg_catalog, public as
$$
begin
  if new.daily_ration is null or not exists (select 1 from public.ref_daily_ration where daily_ration_id = new.daily_ration) then
    raise exception using errcode = 'foreign_key_violation',
      message = format('Рацион с кодом %s не найден', coalesce(new.daily_ration::text, 'null'));
  end if;
  if new.food_type is null or not exists (select 1 from public.mealref_type where food_type_id = new.food_type) then
    raise exception using errcode = 'foreign_key_violation',
      message = 'Не выбран тип питания: выберите его из справочника';
  end if;
  if exists (select 1 from public.ref_daily_ration_sp where daily_ration = new.daily_ration and food_type = new.food_type) then
    raise exception using errcode = 'unique_violation',
      message = format('Тип питания «%s» уже входит в рацион «%s»',
                       (select name from public.mealref_type where food_type_id = new.food_type),
                       (select "name" from public.ref_daily_ration where daily_ration_id = new.daily_ration));
  end if;
  return new;
end
$$;
create trigger ref_daily_ration_sp_check before insert on public.ref_daily_ration_sp
  for each row execute function public.ref_daily_ration_sp_check();

-- A meal type that a ration uses, or that has prices, cannot be deleted.
create function public.mealref_type_delete_check() returns trigger
  language plpgsql set search_path = pg_catalog, public as
$$
declare
  ration text;
begin
  select r."name" into ration
    from public.ref_daily_ration_sp sp join public.ref_daily_ration r on r.daily_ration_id = sp.daily_ration
   where sp.food_type = old.food_type_id
   order by r.daily_ration_id limit 1;
  if found then
    raise exception using errcode = 'foreign_key_violation',
      message = format('Тип питания «%s» входит в рацион «%s» и не может быть удален', old.name, ration);
  end if;
  if exists (select 1 from public.mealref_price where food_type = old.food_type_id) then
    raise exception using errcode = 'foreign_key_violation',
      message = format('У типа питания «%s» есть цены, он не может быть удален', old.name);
  end if;
  return old;
end
$$;
create trigger mealref_type_delete_check before delete on public.mealref_type
  for each row execute function public.mealref_type_delete_check();

-- ---------------------------------------------------------------- price of a ration
-- The nine price parts of a ration on a date for a parallel: for each meal type of the
-- ration the latest price row from on or before the date that covers the parallel,
-- summed part by part.  A ration without meal types (or without prices) costs 0.
-- Exactly one row.  Plain SQL, stable, not strict, no SET: the planner inlines it into
-- the calling statement, and each meal type costs one backward step of the primary key.
-- Stored part -> returned column: parent -> x_parent (СЗП), dorv -> x_dorv (КШП),
-- privilege -> x_privilege (Л), subsidy -> x_subsidy (Б), ovz -> x_ovz (ОВЗ),
-- staff -> x_staff (ПС), junior -> x_found_junior (ПМК), mob -> x_found_mob (Моб),
-- fam -> x_found_fam (Мдет).
create function public.get_price(p_daily_ration integer, p_on_date date, p_paralel integer)
  returns table (x_parent numeric, x_dorv numeric, x_privilege numeric, x_subsidy numeric, x_ovz numeric,
                 x_staff numeric, x_found_junior numeric, x_found_mob numeric, x_found_fam numeric)
  language sql stable parallel safe as
$$
  select coalesce(sum(pr.parent), 0), coalesce(sum(pr.dorv), 0), coalesce(sum(pr.privilege), 0),
         coalesce(sum(pr.subsidy), 0), coalesce(sum(pr.ovz), 0), coalesce(sum(pr.staff), 0),
         coalesce(sum(pr.junior), 0), coalesce(sum(pr.mob), 0), coalesce(sum(pr.fam), 0)
  from public.ref_daily_ration_sp sp
  cross join lateral (
    select p.parent, p.dorv, p.privilege, p.subsidy, p.ovz, p.staff, p.junior, p.mob, p.fam
    from public.mealref_price p
    where p.food_type = sp.food_type
      and p.actual_date <= p_on_date
      and p_paralel between p.paralel_min and p.paralel_max
    order by p.actual_date desc
    limit 1) pr
  where sp.daily_ration = p_daily_ration
$$;
-- No text-date overloads: statements send text dates untyped, and a text overload would
-- fix such a parameter as text for the whole statement ("date = text" elsewhere in it).
-- With the date version alone the untyped 'dd.mm.yyyy' is read as a date (DateStyle DMY).

-- ---------------------------------------------------------------- 700-rouble allowance
-- Periods of one pupil never overlap; adjacent periods (one ending the day before the
-- next begins) make one uninterrupted allowance.
create table public.human_privilege_period (
  account_id integer not null references public.human,
  date_beg   date not null,
  date_end   date not null,
  entry_date date not null default current_date,   -- day of the last change
  primary key (account_id, date_beg),
  check (date_end >= date_beg),
  constraint human_privilege_period_no_overlap exclude using gist (
    account_id with =, daterange(date_beg, date_end, '[]') with &&)
);

-- 1 when the pupil holds the allowance on that date
create function public.check_privilege(account_id integer, on_date date) returns integer
  language sql stable as
$$
  select case when exists (select 1 from public.human_privilege_period p
                           where p.account_id = check_privilege.account_id
                             and check_privilege.on_date between p.date_beg and p.date_end)
              then 1 else 0 end
$$;

-- 1 when the allowance held on that date ends within the date's month: the period
-- covering the date, followed through the periods adjacent to it, ends by the month's
-- last day.  0 when no allowance is held on the date.
create function public.check_end_privelege_period(account_id integer, on_date date) returns integer
  language sql stable as
$$
  with recursive allowance(date_end) as (
    select p.date_end from public.human_privilege_period p
     where p.account_id = check_end_privelege_period.account_id
       and check_end_privelege_period.on_date between p.date_beg and p.date_end
    union all
    select n.date_end from allowance a
      join public.human_privilege_period n
        on n.account_id = check_end_privelege_period.account_id and n.date_beg = a.date_end + 1
  )
  select case when max(date_end) <= public.get_last_date(check_end_privelege_period.on_date) then 1 else 0 end
    from allowance
$$;

-- ---------------------------------------------------------------- privileges
-- The catering organisation's staff keeps the price list as well (schools and the
-- administrator get theirs with the other shared grants).
grant insert, update on public.ref_daily_ration to dorv;
grant insert, delete on public.ref_daily_ration_sp to dorv;
grant insert, update, delete on public.mealref_price to dorv;
