-- The school's day: the daily pay list of a building (insert_pay_list), the rations of its
-- lines, posting and rollback as the client's plain status update (triggers move the
-- ledger and so the balances, atomically and only once), the refusals on refused dates
-- and locked buildings, kindergarten orders and the stored reports over the pay lists.
select admin.add_school_template_part(63, 'paylist', $ddl$
-- rations set for a span of days (a week) for one pupil; they win over the weekday rations
create table @schema@.human_ration_plan (
  account_id   integer not null references public.human,
  date_beg     date    not null,
  date_end     date    not null,
  daily_ration integer not null references public.ref_daily_ration,
  primary key (account_id, date_beg),
  check (date_end >= date_beg),
  -- at most one plan covers a pupil's day: the pay list finds it with one join
  exclude using gist (account_id with =, daterange(date_beg, date_end, '[]') with &&)
);

-- The ration a pupil gets on a date: the plan covering the date, else the weekday
-- ration, else none (0).
create function @schema@.planned_ration(p_account_id integer, p_on_date date) returns integer
  language sql stable as
$fn$
  select coalesce(
    (select p.daily_ration from @schema@.human_ration_plan p
      where p.account_id = p_account_id and p_on_date between p.date_beg and p.date_end
      order by p.date_beg desc limit 1),
    (select case extract(isodow from p_on_date)::integer
              when 1 then f.monday_ration when 2 then f.tuesday_ration when 3 then f.wednesday_ration
              when 4 then f.thursday_ration when 5 then f.friday_ration when 6 then f.saturday_ration
              else f.sunday_ration end
       from @schema@.human_food_type f where f.account_id = p_account_id),
    0)
$fn$;

-- The pupils on the roll of a building on a date with their parallel and class (a pupil
-- on two nodes of the building that day: the later node).
create function @schema@.building_roll(p_corpus_id integer, p_on_date date)
  returns table (account_id integer, paralel integer, class integer)
  language sql stable as
$fn$
  select distinct on (m.account_id) m.account_id, m.paralel, m.class
  from @schema@.sys_matrix_presence pr
  join @schema@.sys_matrix m on m.node_id = pr.node_id and m.view = 1
  join @schema@.ref_class c on c.class_id = m.class and c.corpus = p_corpus_id
  where pr.days @> p_on_date
  order by m.account_id, m.node_id desc
$fn$;

-- The roll of the building on the date with each pupil's planned ration (the plan
-- covering the date, else the weekday ration, else none): planned_ration as one join.
create function @schema@.building_roll_rations(p_corpus_id integer, p_on_date date)
  returns table (account_id integer, paralel integer, class integer, ration integer)
  language sql stable as
$fn$
  select r.account_id, r.paralel, r.class,
         coalesce(pl.daily_ration,
                  case extract(isodow from p_on_date)::integer
                    when 1 then f.monday_ration when 2 then f.tuesday_ration when 3 then f.wednesday_ration
                    when 4 then f.thursday_ration when 5 then f.friday_ration when 6 then f.saturday_ration
                    else f.sunday_ration end,
                  0)
  from @schema@.building_roll(p_corpus_id, p_on_date) r
  left join @schema@.human_ration_plan pl
         on pl.account_id = r.account_id and p_on_date between pl.date_beg and pl.date_end
  left join @schema@.human_food_type f on f.account_id = r.account_id
$fn$;

-- Creates the building's pay list for the date from the roll, or brings an unposted one
-- up to date: lines of pupils who left go, pupils who came get a line with their planned
-- ration, moved pupils get their new class; marks and rations already set stay.  A posted
-- pay list is left as it is.  Returns the document number.
create function @schema@.insert_pay_list(p_on_date date, p_corpus_id integer) returns integer
  language plpgsql security definer set search_path = pg_catalog, public as
$fn$
declare
  d  integer;
  st smallint;
begin
  if p_on_date is null then
    raise exception 'Не указана дата ведомости';
  end if;
  if not exists (select 1 from @schema@.ref_corpus where corpus_id = p_corpus_id) then
    raise exception 'Корпус % не найден', p_corpus_id;
  end if;
  insert into @schema@.pay_list (entry_date, corpus, status) values (p_on_date, p_corpus_id, 0)
  on conflict (corpus, entry_date) do nothing;
  select p.doc_no, p.status into d, st from @schema@.pay_list p
   where p.corpus = p_corpus_id and p.entry_date = p_on_date for update;
  if st = 4 then
    return d;
  end if;

  -- one statement over one reading of the roll: the parts see the lines as they were
  with roll as materialized (
    select * from @schema@.building_roll_rations(p_corpus_id, p_on_date)
  ), gone as (
    delete from @schema@.pay_list_sp s
     where s.doc_no = d and not exists (select 1 from roll r where r.account_id = s.account_id)
  ), moved as (
    update @schema@.pay_list_sp s set paralel = r.paralel, class = r.class
      from roll r
     where s.doc_no = d and s.account_id = r.account_id
       and (s.paralel is distinct from r.paralel or s.class is distinct from r.class)
  ), fresh as (
    select r.* from roll r
    where not exists (select 1 from @schema@.pay_list_sp s where s.doc_no = d and s.account_id = r.account_id)
  ), prices as (
    select k.ration, k.paralel, g.*
    from (select distinct f.ration, f.paralel from fresh f) k
    cross join lateral public.get_price(k.ration, p_on_date, k.paralel) g
  )
  insert into @schema@.pay_list_sp (doc_no, entry_date, account_id, daily_ration, attr, paralel, class,
                                    parent, dorv, privilege, subsidy, ovz, staff, junior, mob, fam)
  select d, p_on_date, f.account_id, f.ration, 0, f.paralel, f.class,
         g.x_parent, g.x_dorv, g.x_privilege, g.x_subsidy, g.x_ovz, g.x_staff, g.x_found_junior,
         g.x_found_mob, g.x_found_fam
  from fresh f join prices g on g.ration = f.ration and g.paralel = f.paralel;
  return d;
end
$fn$;

-- ---------------------------------------------------------------- rations of lines
create function @schema@.plan_week_ration(p_account_id integer, p_on_date date, p_daily_ration integer)
  returns void language plpgsql security definer set search_path = pg_catalog, public as
$fn$
declare
  mon date := p_on_date - (extract(isodow from p_on_date)::integer - 1);
  sun date := p_on_date - (extract(isodow from p_on_date)::integer - 1) + 6;
begin
  delete from @schema@.human_ration_plan
   where account_id = p_account_id and date_beg >= mon and date_end <= sun;
  update @schema@.human_ration_plan set date_end = mon - 1
   where account_id = p_account_id and date_beg < mon and date_end >= mon;
  insert into @schema@.human_ration_plan (account_id, date_beg, date_end, daily_ration)
  values (p_account_id, mon, sun, p_daily_ration)
  on conflict (account_id, date_beg) do update set date_end = excluded.date_end, daily_ration = excluded.daily_ration;
  update @schema@.pay_list_sp s set daily_ration = p_daily_ration
    from @schema@.pay_list p
   where p.doc_no = s.doc_no and p.status = 0
     and s.account_id = p_account_id and s.entry_date between mon and sun and s.daily_ration <> p_daily_ration;
end
$fn$;

-- one pupil's ration on a date, derived again from the plan and the weekday rations
create function @schema@.update_ration(p_account_id integer, p_on_date date) returns void
  language sql security definer set search_path = pg_catalog, public as
$fn$
  update @schema@.pay_list_sp s set daily_ration = @schema@.planned_ration(s.account_id, s.entry_date)
   where s.account_id = p_account_id and s.entry_date = p_on_date
     and s.daily_ration <> @schema@.planned_ration(s.account_id, s.entry_date)
$fn$;

-- the same for every pupil of a class
create function @schema@.update_ration_for_class(p_on_date timestamp, p_paralel integer, p_class integer)
  returns void language sql security definer set search_path = pg_catalog, public as
$fn$
  update @schema@.pay_list_sp s set daily_ration = @schema@.planned_ration(s.account_id, s.entry_date)
   where s.entry_date = p_on_date::date and s.paralel = p_paralel and s.class = p_class
     and s.daily_ration <> @schema@.planned_ration(s.account_id, s.entry_date)
$fn$;

-- ---------------------------------------------------------------- guards of the lines
-- Lines of a posted pay list do not change.  The pay list's row is share-locked, so a
-- posting running at the same moment waits for the change (or the change for it).
create function @schema@.pay_list_sp_guard_row() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public as
$fn$
declare
  st smallint;
begin
  select p.status into st from @schema@.pay_list p where p.doc_no = new.doc_no for share;
  if st = 4 then
    raise exception 'Вы пытаетесь изменить спецификацию в проведенной ведомости. Отмените проводку и попробуйте снова';
  end if;
  if new.daily_ration = 0 and new.attr = 1 then
    if old.daily_ration <> 0 and old.attr = 1 then
      new.attr := 0;                      -- the ration was taken away: no meal without a ration
    else
      raise exception 'Не выбран рацион питания. Для установки отметке о получении питания необходимо выбрать рацион питания учащегося';
    end if;
  end if;
  if new.daily_ration <> old.daily_ration or new.paralel <> old.paralel or new.entry_date <> old.entry_date then
    select g.x_parent, g.x_dorv, g.x_privilege, g.x_subsidy, g.x_ovz, g.x_staff, g.x_found_junior, g.x_found_mob, g.x_found_fam
      into new.parent, new.dorv, new.privilege, new.subsidy, new.ovz, new.staff, new.junior, new.mob, new.fam
      from public.get_price(new.daily_ration, new.entry_date, new.paralel) g;
    new.parent := coalesce(new.parent, 0); new.dorv := coalesce(new.dorv, 0);
    new.privilege := coalesce(new.privilege, 0); new.subsidy := coalesce(new.subsidy, 0);
    new.ovz := coalesce(new.ovz, 0); new.staff := coalesce(new.staff, 0); new.junior := coalesce(new.junior, 0);
    new.mob := coalesce(new.mob, 0); new.fam := coalesce(new.fam, 0);
  end if;
  return new;
end
$fn$;
create trigger pay_list_sp_guard_row before update on @schema@.pay_list_sp
  for each row execute function @schema@.pay_list_sp_guard_row();

-- (the cluster owner loading data is not refused: demo and migration loads write
-- posted history directly)
create function @schema@.pay_list_sp_guard_added() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public as
$fn$
begin
  if (select r.rolsuper from pg_roles r where r.rolname = session_user) then
    return null;
  end if;
  if exists (select 1 from @schema@.pay_list p
             where p.doc_no in (select distinct a.doc_no from changed a) and p.status = 4) then
    raise exception 'Вы пытаетесь изменить спецификацию в проведенной ведомости. Отмените проводку и попробуйте снова';
  end if;
  return null;
end
$fn$;
create trigger pay_list_sp_guard_ins after insert on @schema@.pay_list_sp
  referencing new table as changed for each statement execute function @schema@.pay_list_sp_guard_added();
create trigger pay_list_sp_guard_del after delete on @schema@.pay_list_sp
  referencing old table as changed for each statement execute function @schema@.pay_list_sp_guard_added();

-- ---------------------------------------------------------------- posting and rollback
-- Posting (0 -> 4) and rollback (4 -> 0) are refused on a refused date and in a locked
-- building.
create function @schema@.pay_list_status_guard() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public as
$fn$
declare
  who text;
begin
  if exists (select 1 from dorv.refused_paylist_date r where r.entry_date = new.entry_date) then
    raise exception 'Уважаемый пользователь, для выбранной даты установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. ';
  end if;
  select c.who_blocked into who from @schema@.ref_corpus c
   where c.corpus_id = new.corpus and c.is_pay_list_blocked = 1;
  if found then
    raise exception 'Уважаемый пользователь, для выбранного вами корпуса установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. %Администратор %',
      E'\r', coalesce(who, '');
  end if;
  return new;
end
$fn$;
create trigger pay_list_status_guard before update of status on @schema@.pay_list
  for each row when (old.status is distinct from new.status) execute function @schema@.pay_list_status_guard();

-- Posting writes the parents' part of every meal eaten into the ledger (one entry per
-- pupil and pay list, a free meal as an entry of 0, so the balance row knows the pupil's
-- last meal whoever paid for it; the ledger's unique index makes a repeated posting
-- harmless);
-- rollback takes the entries out again.  The balances follow the ledger.
create function @schema@.pay_list_post() returns trigger
  language plpgsql security definer set search_path = pg_catalog, public as
$fn$
begin
  if new.status = 4 then
    insert into dorv.sys_entry (doc_class, doc_no, entry_date, account_id, ammount, edu_org)
    select 1, new.doc_no, new.entry_date, s.account_id, -s.parent, '@schema@'
    from @schema@.pay_list_sp s
    where s.doc_no = new.doc_no and s.attr = 1
    on conflict do nothing;
    perform @schema@.refresh_balance_roll(new.doc_no);
  elsif old.status = 4 then
    delete from dorv.sys_entry e where e.doc_class = 1 and e.edu_org = '@schema@' and e.doc_no = old.doc_no;
  end if;
  return null;
end
$fn$;
create trigger pay_list_post after update of status on @schema@.pay_list
  for each row when (old.status is distinct from new.status) execute function @schema@.pay_list_post();

-- School, building, parallel and class of the balance rows of the pupils of a pay list
-- (of every pupil's last posted line in the school when p_doc_no is null).
create function @schema@.refresh_balance_roll(p_doc_no integer) returns void
  language sql security definer set search_path = pg_catalog, public as
$fn$
  insert into public.calc_current_debt as c (account_id, edu_org, corpus, paralel, class,
                                             last_name, first_name, middle_name, debt)
  select s.account_id, '@schema@', rc.note, s.paralel, cl.name, h.last_name, h.first_name, h.middle_name, 0
  from (select distinct on (s.account_id) s.account_id, s.paralel, s.class, p.corpus
        from @schema@.pay_list_sp s join @schema@.pay_list p on p.doc_no = s.doc_no
        where (p_doc_no is null and p.status = 4) or s.doc_no = p_doc_no
        order by s.account_id, s.entry_date desc) s
  join @schema@.ref_corpus rc on rc.corpus_id = s.corpus
  join @schema@.ref_class cl on cl.class_id = s.class
  join public.human h on h.account_id = s.account_id
  on conflict (account_id) do update
    set edu_org = excluded.edu_org, corpus = excluded.corpus, paralel = excluded.paralel, class = excluded.class,
        last_name = excluded.last_name, first_name = excluded.first_name, middle_name = excluded.middle_name
$fn$;

-- ---------------------------------------------------------------- kindergarten orders
-- Portions of each meal of the building's order of today (after public.save_chgard_order).
create function @schema@.add_chgard_materials(p_corpus_note text)
  returns table (x_meal text, x_group text, x_portions integer)
  language sql stable security definer set search_path = pg_catalog, public as
$fn$
  with o as (
    select r.* from public.chgard_orders r
    join @schema@.ref_corpus c on c.corpus_id = r.corpus_id and c.note = p_corpus_note
    where r.schema_name = '@schema@' and r.order_date = current_date
  ), g (grp, four, five) as (
    select 'Ясли', o.junior_4, o.junior_5 + o.tub_junior_5 + o.diabetes_junior_5 from o
    union all
    select 'Сад', o.chgard_4, o.chgard_5 + o.tub_chgard_5 + o.diabetes_chgard_5 from o
  ), meals (meal, ord, in_four) as (
    values ('Завтрак', 1, true), ('Второй завтрак', 2, true), ('Обед', 3, true), ('Полдник', 4, true), ('Ужин', 5, false)
  )
  select m.meal, g.grp, (case when m.in_four then g.four else 0 end + g.five)::integer
  from meals m cross join g
  order by g.grp desc, m.ord
$fn$;

-- ---------------------------------------------------------------- stored reports
-- Month reports: one row per pupil who ate at the report's part in the building in the
-- month (posted pay lists), a column per day (1 = ate), the number of days and the sum.
-- Parameters arrive as text and are cast here; tables are named with the schema so the
-- staff workstation runs the same text.
insert into @schema@.sys_report (report_id, name, template, report_group, sql_text, params, column_list)
select r.id, r.name, r.tpl, 1,
       format($q$select row_number() over (order by min(s.paralel), c.name, h.last_name, h.first_name, h.middle_name) as npp,
       c.name as class_name, h.account_id,
       cast(h.last_name || ' ' || h.first_name || ' ' || h.middle_name as varchar(300)) as fio,
       case when h.is_invalid = 1 then 'да' else '' end as invalid_mark,
%1$s,
       count(*) as days_count, sum(%2$s) as price_sum
from @schema@.pay_list p
join @schema@.pay_list_sp s on s.doc_no = p.doc_no
join @schema@.ref_class c on c.class_id = s.class
join public.human h on h.account_id = s.account_id
where p.entry_date between make_date(cast(:year_id as integer), cast(:month_id as integer), 1)
                       and public.get_last_date(make_date(cast(:year_id as integer), cast(:month_id as integer), 1))
  and p.corpus = cast(:corpus_id as integer)
  and (cast(:invalid as integer) = 3 or (cast(:invalid as integer) = 1 and h.is_invalid = 1)
       or (cast(:invalid as integer) = 2 and h.is_invalid is distinct from 1))
  and p.status = 4 and s.attr = 1 and %2$s > 0
  and s.paralel between %3$s and %4$s%5$s
group by c.name, h.account_id, h.last_name, h.first_name, h.middle_name, h.is_invalid
order by npp$q$,
         (select string_agg(format('       count(*) filter (where extract(day from p.entry_date) = %s) as d%s', g, g), E',\n' order by g)
          from generate_series(1, 31) g),
         r.part, r.pmin, r.pmax, r.extra),
       E'year_id=Год\nmonth_id=Месяц\ncorpus_id=Корпус\ninvalid=Инвалидность (1 - да, 2 - нет, 3 - все)',
       E'npp=№ п/п\nclass_name=Класс\naccount_id=№ счета\nfio=Ф.И.О.\ninvalid_mark=Инвалидность\n'
         || (select string_agg(format('d%s=%s', g, g), E'\n' order by g) from generate_series(1, 31) g)
         || E'\ndays_count=Дней питания\nprice_sum=Сумма, руб.'
from (values
  (1,  'Отчет о питании за месяц (Родительская часть)', 's.parent', 1, 32, '', 'payreport_month.xlt'),
  (2,  'Отчет о питании за месяц (КШП)', 's.dorv', 1, 32, '', 'payreport_month.xlt'),
  (3,  'Отчет о питании за месяц (Льготное питание)', 's.privilege', 1, 32, '', 'payreport_month.xlt'),
  (4,  'Отчет о питании за месяц (Бесплатное питание)', 's.subsidy', 1, 11, '', 'payreport_month.xlt'),
  (5,  'Отчет о питании за месяц (ОВЗ) с 5 по 11 класс', 's.ovz', 5, 11, '', 'payreport_month.xlt'),
  (6,  'Отчет о питании за месяц (Питание для персонала)', 's.staff', 1, 32, '', 'payreport_month.xlt'),
  (10, 'Отчет о питании за месяц (Все)',
       '(s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam)', 1, 32, '', 'payreport_month.xlt'),
  (18, 'Отчет о питании за месяц (ОВЗ) с 1 по 4 класс', 's.ovz', 1, 4, '', 'payreport_month.xlt'),
  (19, 'Отчет о питании за месяц (бесплатное питание начальная школа)', 's.junior', 1, 4, '', 'payreport_month.xlt'),
  (23, 'Отчет о питании за месяц (Бесплатное питание) Дет сад', 's.subsidy', 31, 32, '', 'payreport_chgard.xlt'),
  (24, 'Отчет о питании за месяц (ОВЗ) Дет сад', 's.ovz', 31, 32, '', 'payreport_chgard.xlt'),
  (25, 'Отчет о питании за месяц (ОВЗ) Все с 1 по 11', 's.ovz', 1, 11, '', 'payreport_month.xlt'),
  (33, 'Отчет о питании за месяц в группах общеразвивающей направленности',
       '(s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam)', 31, 32,
       E'\n  and c.name !~* ''(туб|сахар|диабет)''', 'payreport_chgard.xlt'),
  (34, 'Отчет о питании за месяц в группах с туб.интоксикацией',
       '(s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam)', 31, 32,
       E'\n  and c.name ~* ''туб''', 'payreport_chgard.xlt'),
  (35, 'Отчет о питании за месяц в группах с сахарным диабетом',
       '(s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam)', 31, 32,
       E'\n  and c.name ~* ''(сахар|диабет)''', 'payreport_chgard.xlt'),
  (36, 'Отчет о питании за месяц в разрезе ясли\сад (Все)',
       '(s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam)', 31, 32, '', 'payreport_chgard.xlt'),
  (41, 'Отчет о питании за месяц (Мобилизация) с 5 по 11 кл 1пп', 's.mob', 5, 11, '', 'payreport_month.xlt'),
  (48, 'Отчет о питании за месяц (Мобилизация) с 1 по 4 кл', 's.mob', 1, 4, '', 'payreport_month.xlt'),
  (49, 'Отчет о питании за месяц (Мобилизация) с 5 по 11 кл', 's.mob', 5, 11, '', 'payreport_month.xlt'),
  (50, 'Отчет о питании за месяц (Многодетные)', 's.fam', 1, 11, '', 'payreport_month.xlt')
) r(id, name, part, pmin, pmax, extra, tpl);

-- Quarantine reports: pupils entitled to the part (a ration with that part) who did not
-- eat on the days of this month so far, with the days and the sum of the food packages.
insert into @schema@.sys_report (report_id, name, template, report_group, sql_text, params, column_list)
select r.id, r.name, 'payreport_quarantine.xlt', null,
       format($q$select row_number() over (order by min(s.paralel), c.name, h.last_name, h.first_name) as npp,
       c.name as class_name, h.account_id,
       cast(h.last_name || ' ' || h.first_name || ' ' || h.middle_name as varchar(300)) as fio,
       min(p.entry_date) as first_day, max(p.entry_date) as last_day,
       count(*) as days_count, sum(%1$s) as price_sum
from @schema@.pay_list p
join @schema@.pay_list_sp s on s.doc_no = p.doc_no
join @schema@.ref_class c on c.class_id = s.class
join public.human h on h.account_id = s.account_id
where p.corpus = cast(:corpus_id as integer)
  and p.entry_date between cast(date_trunc('month', current_date) as date) and current_date
  and s.attr = 0 and %1$s > 0
group by c.name, h.account_id, h.last_name, h.first_name, h.middle_name
order by npp$q$, r.part),
       'corpus_id=Корпус',
       E'npp=№ п/п\nclass_name=Класс\naccount_id=№ счета\nfio=Ф.И.О.\nfirst_day=С\nlast_day=По\ndays_count=Дней\nprice_sum=Сумма, руб.'
from (values (21, 'Отчет о питании за карантин (Бесплатное питание)', 's.subsidy'),
             (22, 'Отчет о питании за карантин (ОВЗ)', 's.ovz')) r(id, name, part);

-- Balances of the school's pupils (building note '0' = all buildings).
insert into @schema@.sys_report (report_id, name, template, report_group, sql_text, params, column_list)
select r.id, r.name, 'debtreport.xlt', null,
       format($q$select row_number() over (order by d.corpus, d.paralel, d.class, d.last_name, d.first_name) as npp,
       d.corpus, d.paralel, d.class, d.account_id,
       cast(d.last_name || ' ' || d.first_name || ' ' || d.middle_name as varchar(300)) as fio,
       d.last_date, d.debt
from public.calc_current_debt d
where d.edu_org = '@schema@' and (d.corpus = :corpus_note or :corpus_note = '0')%s
order by npp$q$, r.cond),
       'corpus_note=Корпус',
       E'npp=№ п/п\ncorpus=Корпус\nparalel=Параллель\nclass=Класс\naccount_id=№ счета\nfio=Ф.И.О.\nlast_date=Дата последнего питания\ndebt=Баланс, руб.'
from (values (104, 'Текущая задолженность', E'\n  and d.debt < 0'),
             (105, 'Текущие остатки', E'\n  and d.debt > 0'),
             (106, 'Текущее состояние', '')) r(id, name, cond);

insert into @schema@.sys_report (report_id, name, template, report_group, sql_text, params, column_list) values
  (11, 'Детализация счета', 'account_detail.xlt', 1,
   $q$select x_entry_date as entry_date, x_operation as operation, x_edu_org as edu_org, x_doc_no as doc_no,
       x_income as income, x_expense as expense, x_balance as balance
from public.get_account_detail(cast(:account_id as integer))$q$,
   'account_id=Номер лицевого счета',
   E'entry_date=Дата\noperation=Операция\nedu_org=ОУ\ndoc_no=№ документа\nincome=Поступило, руб.\nexpense=Списано, руб.\nbalance=Остаток, руб.');

-- Pay-list prints of one document: pupils of a school building (8), of a kindergarten
-- building (9), staff meals (12).
insert into @schema@.sys_report (report_id, name, template, report_group, sql_text, params, column_list)
select r.id, r.name, r.tpl, null,
       format($q$select row_number() over (order by s.paralel, c.name, h.last_name, h.first_name, h.middle_name) as npp,
       c.name as class_name, h.account_id,
       cast(h.last_name || ' ' || h.first_name || ' ' || h.middle_name as varchar(300)) as fio,
       rd.name as ration, case when s.attr = 1 then '+' else '' end as ate,
       s.parent, s.dorv, s.privilege, s.subsidy, s.ovz, s.staff, s.junior, s.mob, s.fam,
       case when s.attr = 1 then s.parent + s.dorv + s.privilege + s.subsidy + s.ovz + s.staff + s.junior + s.mob + s.fam
            else 0 end as total
from @schema@.pay_list_sp s
join @schema@.ref_class c on c.class_id = s.class
join public.human h on h.account_id = s.account_id
join public.ref_daily_ration rd on rd.daily_ration_id = s.daily_ration
where s.doc_no = cast(:doc_no as integer)%s
order by npp$q$, r.cond),
       'doc_no=Номер ведомости',
       E'npp=№ п/п\nclass_name=Класс\naccount_id=№ счета\nfio=Ф.И.О.\nration=Рацион\nate=Питался\nparent=СЗП\ndorv=КШП\nprivilege=Л\nsubsidy=Б\novz=ОВЗ\nstaff=ПС\njunior=ПМК\nmob=Моб\nfam=Мдет\ntotal=Итого'
from (values (8, 'Ведомость питания учащихся', 'paylist_school.xlt', E'\n  and s.staff = 0'),
             (9, 'Ведомость питания воспитанников', 'paylist_chgard.xlt', E'\n  and s.staff = 0'),
             (12, 'Ведомость питания сотрудников', 'paylist_staff.xlt', E'\n  and s.staff > 0')) r(id, name, tpl, cond);
$ddl$,
$grants$
grant select on @schema@.human_ration_plan to @schema@, dorv, admin;
$grants$);
