-- Demo data: school_001 as a real school of about 1,500 pupils.  Building 1 (school):
-- parallels 1-11, classes А-Г; building 2 (kindergarten): nursery and kindergarten groups.
-- Three school years up to yesterday (from 1 September two years before the current
-- school year): the roll with yearly promotion, weekday rations, allowance periods.  The
-- posted pay lists of those years, the payments and their ledger are 94_demo_history.sql
-- (loaded for demo and bench clusters, not for test clusters).  Deterministic for a given load date: random choices come from hashes of
-- the keys, not from the order rows are made in.  Loaded after 90_demo.sql and
-- 91_demo_meals.sql (buildings, rations, prices); the small demo roll of 90_demo.sql
-- (pupils 100000001-100000011) is left as it is.

set local session_replication_role = replica;   -- bulk history: the ledger is written set-based below

-- pseudo-random 0..n-1 from a key (stable across loads and plans)
create function pg_temp.pick(k bigint, n integer) returns integer
  language sql immutable as $$ select (abs(hashint8(k)) % n)::integer $$;

create temporary table demo_years on commit drop as
with cur as (select make_date(extract(year from current_date - interval '8 months')::integer, 9, 1) as sy)
select y, (cur.sy - make_interval(years => 2 - y))::date as beg_date,
       (cur.sy - make_interval(years => 1 - y))::date as next_beg
from cur, generate_series(0, 2) y;

-- ---------------------------------------------------------------- classes
create temporary table demo_class (class_id integer, corpus integer, paralel integer, letter text, name text) on commit drop;
insert into demo_class
select case when p = 1 and l = 'А' then 1 when p = 5 and l = 'Б' then 2 else 5000 + p * 10 + li end,
       1, p, l, p::text || l
from generate_series(1, 11) p, unnest(array['А', 'Б', 'В', 'Г']) with ordinality as t(l, li);
insert into demo_class values
  (3, 2, 32, null, 'Младшая группа «Солнышко»'),
  (5301, 2, 31, null, 'Ясельная группа «Капелька»'),
  (5302, 2, 31, null, 'Ясельная группа «Зайчата»'),
  (5303, 2, 32, null, 'Средняя группа «Радуга»'),
  (5304, 2, 32, null, 'Старшая группа «Звёздочка»'),
  (5305, 2, 32, null, 'Подготовительная группа «Непоседы»'),
  (5306, 2, 32, null, 'Группа с туб. интоксикацией «Ромашка»'),
  (5307, 2, 32, null, 'Группа для детей с сахарным диабетом «Василёк»');
insert into school_001.ref_class (class_id, corpus, paralel, name)
select class_id, corpus, paralel, name from demo_class where class_id not in (1, 2, 3);
insert into school_001.sys_matrix (view, paralel, class)
select 3, paralel, class_id from demo_class where class_id not in (1, 2, 3);
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select m.node_id, (select beg_date from demo_years where y = 0), 1
from school_001.sys_matrix m where m.view = 3 and m.class >= 5000;
insert into school_001.doc_class_in (class_id, entry_date, status)
select d.class_id, y.beg_date, 4 from demo_class d cross join demo_years y;

-- ---------------------------------------------------------------- pupils
-- cohorts: a school cohort is in parallel p0 + y in year y (1..11); kindergarten groups keep theirs
create temporary table demo_pupil (account_id integer, cohort integer, p0 integer, letter text,
                                   kg_class integer, female boolean) on commit drop;
insert into demo_pupil
select 0, c.p0 * 10 + c.li, c.p0, c.l, null, false
from (select p0, l, li from generate_series(-1, 11) p0, unnest(array['А', 'Б', 'В', 'Г']) with ordinality as t(l, li)) c,
     generate_series(1, 27 + pg_temp.pick((c.p0 + 5) * 100 + c.li, 9)) n;
insert into demo_pupil
select 0, 1000 + k.class_id, null, null, k.class_id, false
from demo_class k, generate_series(1, 18 + pg_temp.pick(k.class_id, 7)) n where k.corpus = 2;
with numbered as (select ctid, row_number() over (order by cohort, p0, letter) as rn from demo_pupil)
update demo_pupil d set account_id = 100001000 + n.rn, female = pg_temp.pick(100001000 + n.rn, 2) = 1
from numbered n where d.ctid = n.ctid;

insert into public.human (account_id, last_name, first_name, middle_name, birth_day, is_invalid, is_locked)
select d.account_id,
       case when d.female then s.f else s.m end,
       case when d.female then fn.f else mn.m end,
       case when d.female then pn.f else pn.m end,
       case when d.kg_class is null
            then make_date(extract(year from (select beg_date from demo_years where y = 0))::integer - 6 - (d.p0 - 1) - 1,
                           1 + pg_temp.pick(d.account_id::bigint * 3, 12), 1 + pg_temp.pick(d.account_id::bigint * 5, 28))
            else make_date(extract(year from (select beg_date from demo_years where y = 0))::integer - 3,
                           1 + pg_temp.pick(d.account_id::bigint * 3, 12), 1 + pg_temp.pick(d.account_id::bigint * 5, 28)) end,
       case when pg_temp.pick(d.account_id::bigint * 7, 50) = 0 then 1 end,
       0
from demo_pupil d
cross join lateral (select * from (values
  ('Иванов','Иванова'),('Смирнов','Смирнова'),('Кузнецов','Кузнецова'),('Попов','Попова'),('Васильев','Васильева'),
  ('Петров','Петрова'),('Соколов','Соколова'),('Михайлов','Михайлова'),('Новиков','Новикова'),('Фёдоров','Фёдорова'),
  ('Морозов','Морозова'),('Волков','Волкова'),('Алексеев','Алексеева'),('Лебедев','Лебедева'),('Семёнов','Семёнова'),
  ('Егоров','Егорова'),('Павлов','Павлова'),('Козлов','Козлова'),('Степанов','Степанова'),('Николаев','Николаева'),
  ('Орлов','Орлова'),('Андреев','Андреева'),('Макаров','Макарова'),('Никитин','Никитина'),('Захаров','Захарова'),
  ('Зайцев','Зайцева'),('Соловьёв','Соловьёва'),('Борисов','Борисова'),('Яковлев','Яковлева'),('Григорьев','Григорьева'),
  ('Романов','Романова'),('Воробьёв','Воробьёва'),('Сергеев','Сергеева'),('Кузьмин','Кузьмина'),('Фролов','Фролова'),
  ('Александров','Александрова'),('Дмитриев','Дмитриева'),('Королёв','Королёва'),('Гусев','Гусева'),('Киселёв','Киселёва'),
  ('Ильин','Ильина'),('Максимов','Максимова'),('Поляков','Полякова'),('Сорокин','Сорокина'),('Виноградов','Виноградова'),
  ('Ковалёв','Ковалёва'),('Белов','Белова'),('Медведев','Медведева'),('Антонов','Антонова'),('Тарасов','Тарасова'),
  ('Жуков','Жукова'),('Баранов','Баранова'),('Филиппов','Филиппова'),('Комаров','Комарова'),('Давыдов','Давыдова'),
  ('Беляев','Беляева'),('Герасимов','Герасимова'),('Богданов','Богданова'),('Осипов','Осипова'),('Сидоров','Сидорова'),
  ('Ёлкин','Ёлкина'),('Щербаков','Щербакова'),('Юдин','Юдина'),('Шестаков','Шестакова'),('Эрдниев','Эрдниева'),
  ('Чернов','Чернова'),('Абрамов','Абрамова'),('Цветков','Цветкова'),('Устинов','Устинова'),('Хохлов','Хохлова'))
  v(m, f) offset pg_temp.pick(d.account_id::bigint * 11, 70) limit 1) s
cross join lateral (select * from (values
  ('Александр'),('Дмитрий'),('Максим'),('Сергей'),('Андрей'),('Алексей'),('Артём'),('Илья'),('Кирилл'),('Михаил'),
  ('Никита'),('Матвей'),('Роман'),('Егор'),('Арсений'),('Иван'),('Денис'),('Евгений'),('Даниил'),('Тимофей'),
  ('Владислав'),('Игорь'),('Владимир'),('Павел'),('Руслан'),('Марк'),('Лев'),('Степан'),('Глеб'),('Фёдор'))
  v(m) offset pg_temp.pick(d.account_id::bigint * 13, 30) limit 1) mn
cross join lateral (select * from (values
  ('Анастасия'),('Мария'),('Анна'),('Виктория'),('Екатерина'),('Наталья'),('Марина'),('Полина'),('София'),('Дарья'),
  ('Алиса'),('Ксения'),('Александра'),('Елена'),('Варвара'),('Вероника'),('Ульяна'),('Милана'),('Ева'),('Арина'),
  ('Валерия'),('Кристина'),('Таисия'),('Злата'),('Василиса'),('Ярослава'),('Олеся'),('Юлия'),('Алёна'),('Ольга'))
  v(f) offset pg_temp.pick(d.account_id::bigint * 17, 30) limit 1) fn
cross join lateral (select * from (values
  ('Александрович','Александровна'),('Дмитриевич','Дмитриевна'),('Сергеевич','Сергеевна'),('Андреевич','Андреевна'),
  ('Алексеевич','Алексеевна'),('Михайлович','Михайловна'),('Иванович','Ивановна'),('Николаевич','Николаевна'),
  ('Владимирович','Владимировна'),('Евгеньевич','Евгеньевна'),('Игоревич','Игоревна'),('Олегович','Олеговна'),
  ('Викторович','Викторовна'),('Павлович','Павловна'),('Юрьевич','Юрьевна'),('Романович','Романовна'),
  ('Петрович','Петровна'),('Ильич','Ильинична'),('Фёдорович','Фёдоровна'),('Константинович','Константиновна'))
  v(m, f) offset pg_temp.pick(d.account_id::bigint * 19, 20) limit 1) pn;
select setval('public.seq_human', (select max(account_id) from public.human));

insert into school_001.human_available (account_id, attr) select account_id, 0 from demo_pupil;

-- roll spans: one node per pupil and class; school pupils move up every 1 September and
-- leave after the 11th year on 1 June
create temporary table demo_span (account_id integer, paralel integer, class integer, beg_date date, end_date date)
  on commit drop;
insert into demo_span
select d.account_id, d.p0 + y.y, c.class_id,
       case when y.y = 0 or d.p0 + y.y = 1 then y.beg_date else y.beg_date end,
       case when d.p0 + y.y = 11 then make_date(extract(year from y.next_beg)::integer, 6, 1)
            when y.y = 2 then null else y.next_beg end
from demo_pupil d
join demo_years y on d.p0 + y.y between 1 and 11
join demo_class c on c.corpus = 1 and c.paralel = d.p0 + y.y and c.letter = d.letter
where d.kg_class is null;
insert into demo_span
select d.account_id, c.paralel, c.class_id, (select beg_date from demo_years where y = 0), null
from demo_pupil d join demo_class c on c.class_id = d.kg_class;

insert into school_001.sys_matrix (view, account_id, paralel, class)
select 1, account_id, paralel, class from demo_span;
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select m.node_id, s.beg_date, 1
from demo_span s join school_001.sys_matrix m on m.view = 1 and m.account_id = s.account_id and m.class = s.class;
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select m.node_id, s.end_date, -1
from demo_span s join school_001.sys_matrix m on m.view = 1 and m.account_id = s.account_id and m.class = s.class
where s.end_date is not null;

-- the roll was written with the triggers off: its presence spans in one pass
select school_001.refresh_presence(null);

-- ---------------------------------------------------------------- rations and allowances
-- weekday rations: primary school the free hot breakfast (some also a paid lunch),
-- older pupils breakfast and/or lunch paid by parents, special needs, privileged,
-- mobilised and large families, kindergarten five meals; a few have none
insert into school_001.human_food_type (account_id, monday_ration, tuesday_ration, wednesday_ration,
                                        thursday_ration, friday_ration)
select d.account_id, r, r, r, r, case when r = 3 and pg_temp.pick(d.account_id::bigint * 29, 3) = 0 then 1 else r end
from demo_pupil d join public.human h on h.account_id = d.account_id
cross join lateral (select case
    when d.kg_class is not null then 5
    when h.is_invalid = 1 then 8
    when pg_temp.pick(d.account_id::bigint * 23, 100) < 4 then null
    when pg_temp.pick(d.account_id::bigint * 23, 100) < 12 then 7
    when pg_temp.pick(d.account_id::bigint * 23, 100) < 14 then 10
    when pg_temp.pick(d.account_id::bigint * 23, 100) < 18 then 11
    when d.p0 + 2 <= 4 then case when pg_temp.pick(d.account_id::bigint * 31, 4) = 0 then 3 else 9 end
    else (array[1, 2, 3, 3, 3])[1 + pg_temp.pick(d.account_id::bigint * 31, 5)] end as r) x
where r is not null;

-- the 700-rouble allowance for some pupils: from a month of the current school year to its end
insert into public.human_privilege_period (account_id, date_beg, date_end, entry_date)
select d.account_id, b, public.get_last_date((b + interval '2 months')::date), b
from demo_pupil d
cross join lateral (select ((select beg_date from demo_years where y = 2)
                            + make_interval(months => pg_temp.pick(d.account_id::bigint * 37, 3)))::date as b) x
where pg_temp.pick(d.account_id::bigint * 41, 100) < 5;

-- the balances of the small demo roll (90_demo.sql) as opening balances in the ledger
insert into dorv.sys_entry (doc_class, doc_no, entry_date, account_id, ammount, edu_org)
select 0, 0, coalesce(c.last_date, date '2023-09-01'), c.account_id, c.debt, c.edu_org
from public.calc_current_debt c where c.debt <> 0;

reset session_replication_role;
select public.do_calc_current_debt();
analyze;
