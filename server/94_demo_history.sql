-- Demo history of school_001 (93_demo_school.sql): posted pay lists of every school day
-- of its three school years up to yesterday, payments through payment agents, the ledger
-- and the balances.  The big part of the demo (about 650,000 lines): loaded for demo and
-- bench clusters, left out of test clusters (pgcluster --demo-small).  Deterministic for
-- a given load date, like 93.

set local session_replication_role = replica;   -- bulk history: the ledger is written set-based below

-- pseudo-random 0..n-1 from a key (the same function as in 93)
create function pg_temp.pick(k bigint, n integer) returns integer
  language sql immutable as $$ select (abs(hashint8(k)) % n)::integer $$;

create temporary table demo_years on commit drop as
with cur as (select make_date(extract(year from current_date - interval '8 months')::integer, 9, 1) as sy)
select y, (cur.sy - make_interval(years => 2 - y))::date as beg_date,
       (cur.sy - make_interval(years => 1 - y))::date as next_beg
from cur, generate_series(0, 2) y;

-- ---------------------------------------------------------------- pay lists
create temporary table demo_day on commit drop as
select d::date as day
from generate_series((select beg_date from demo_years where y = 0), current_date - 1, interval '1 day') d
where extract(isodow from d) < 6 and extract(month from d) not in (6, 7, 8)
  and not (extract(month from d) = 12 and extract(day from d) >= 30)
  and not (extract(month from d) = 1 and extract(day from d) <= 8)
  and not (extract(month from d) = 11 and extract(day from d) between 2 and 8)
  and not (extract(month from d) = 3 and extract(day from d) between 23 and 29)
  and not (extract(month from d) = 2 and extract(day from d) = 23);

insert into school_001.pay_list (entry_date, corpus, status, note)
select day, corpus, 4, case when extract(day from day) = 1 then 'Сверено с табелем посещаемости' end
from demo_day, (values (1), (2)) c(corpus)
order by day, corpus;

create temporary table demo_line on commit drop as
select p.doc_no, p.entry_date, s.account_id, s.paralel, s.class,
       coalesce(case extract(isodow from p.entry_date)::integer
                  when 1 then f.monday_ration when 2 then f.tuesday_ration when 3 then f.wednesday_ration
                  when 4 then f.thursday_ration else f.friday_ration end, 0) as ration
from school_001.pay_list p
join school_001.ref_class c on c.corpus = p.corpus
join school_001.sys_matrix s on s.view = 1 and s.class = c.class_id and s.account_id > 100001000
join school_001.sys_matrix_presence pr on pr.node_id = s.node_id and pr.days @> p.entry_date
left join school_001.human_food_type f on f.account_id = s.account_id
where p.entry_date < current_date;

create temporary table demo_price on commit drop as
select k.ration, k.paralel, k.entry_date, g.*
from (select distinct ration, paralel, entry_date from demo_line) k
cross join lateral public.get_price(k.ration, k.entry_date, k.paralel) g;

insert into school_001.pay_list_sp (doc_no, entry_date, account_id, daily_ration, attr, paralel, class,
                                    parent, dorv, privilege, subsidy, ovz, staff, junior, mob, fam)
select l.doc_no, l.entry_date, l.account_id, l.ration,
       case when l.ration <> 0 and pg_temp.pick(l.account_id::bigint * 100003 + (l.entry_date - date '2000-01-01'), 100) < 93
            then 1 else 0 end,
       l.paralel, l.class,
       g.x_parent, g.x_dorv, g.x_privilege, g.x_subsidy, g.x_ovz, g.x_staff, g.x_found_junior, g.x_found_mob, g.x_found_fam
from demo_line l join demo_price g on g.ration = l.ration and g.paralel = l.paralel and g.entry_date = l.entry_date
order by l.doc_no, l.account_id;

-- the posted pay lists in the ledger (what the posting trigger writes for one document)
insert into dorv.sys_entry (doc_class, doc_no, entry_date, account_id, ammount, edu_org)
select 1, s.doc_no, s.entry_date, s.account_id, -s.parent, 'school_001'
from school_001.pay_list_sp s
where s.attr = 1 and s.account_id > 100001000;

-- ---------------------------------------------------------------- payments
-- parents pay at the start of each month about what the month costs; one family in ten
-- pays only two thirds and runs into debt
insert into dorv.ref_pay_terminal values (2, 'Почта России') on conflict do nothing;
insert into dorv.terminal_extract (entry_date, pay_terminal, transaction_id, account_id, ammount, status)
select least(m.month_beg + pg_temp.pick(m.account_id::bigint * 43 + m.n, 6), current_date - 1),
       (array[1, 1, 3, 3, 2])[1 + pg_temp.pick(m.account_id::bigint * 47, 5)],
       'DEMO-' || m.account_id || '-' || to_char(m.month_beg, 'yyyymm'),
       m.account_id,
       greatest(100, round(m.spent * case when pg_temp.pick(m.account_id::bigint * 53, 10) = 0 then 0.66 else 1.05 end / 100) * 100),
       4
from (select s.account_id, date_trunc('month', s.entry_date)::date as month_beg,
             extract(month from s.entry_date)::integer as n, sum(s.parent) as spent
      from school_001.pay_list_sp s
      where s.attr = 1 and s.parent > 0 and s.account_id > 100001000
      group by 1, 2, 3) m
order by 1, 4;
insert into dorv.sys_entry (doc_class, doc_no, entry_date, account_id, ammount)
select 7, t.seq_no, t.entry_date, t.account_id, t.ammount
from dorv.terminal_extract t where t.transaction_id like 'DEMO-%' and t.status = 4;

reset session_replication_role;
select public.do_calc_current_debt();
analyze;
