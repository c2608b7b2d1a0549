-- Posted pay lists of both buildings of school_001 for every weekday of the previous month
-- and of this month up to yesterday, made the way the demo history makes them (the test
-- cluster is loaded without that history). Marked with the note 'reports-test'; removed by
-- demo_month_drop.sql.
begin;
set local session_replication_role = replica;

insert into school_001.pay_list (entry_date, corpus, status, note)
select d::date, c.corpus, 4, 'reports-test'
from generate_series(date_trunc('month', current_date) - interval '1 month', current_date - 1, interval '1 day') d,
     (values (1), (2)) c(corpus)
where extract(isodow from d) < 6
  and not exists (select 1 from school_001.pay_list p where p.entry_date = d::date and p.corpus = c.corpus);

create temporary table reports_test_line on commit drop as
select p.doc_no, p.entry_date, s.account_id, s.paralel, s.class,
       coalesce(case extract(isodow from p.entry_date)::integer
                  when 1 then f.monday_ration when 2 then f.tuesday_ration when 3 then f.wednesday_ration
                  when 4 then f.thursday_ration else f.friday_ration end, 0) as ration
from school_001.pay_list p
join school_001.ref_class c on c.corpus = p.corpus
join school_001.sys_matrix s on s.view = 1 and s.class = c.class_id
join school_001.sys_matrix_presence pr on pr.node_id = s.node_id and pr.days @> p.entry_date
left join school_001.human_food_type f on f.account_id = s.account_id
where p.note = 'reports-test';

create temporary table reports_test_price on commit drop as
select k.ration, k.paralel, k.entry_date, g.*
from (select distinct ration, paralel, entry_date from reports_test_line) k
cross join lateral public.get_price(k.ration, k.entry_date, k.paralel) g;

-- nine pupils in ten eat; the others are away (the quarantine reports list them)
insert into school_001.pay_list_sp (doc_no, entry_date, account_id, daily_ration, attr, paralel, class,
                                    parent, dorv, privilege, subsidy, ovz, staff, junior, mob, fam)
select l.doc_no, l.entry_date, l.account_id, l.ration,
       case when l.ration <> 0 and (l.account_id + extract(day from l.entry_date)::integer) % 10 <> 0 then 1 else 0 end,
       l.paralel, l.class,
       g.x_parent, g.x_dorv, g.x_privilege, g.x_subsidy, g.x_ovz, g.x_staff, g.x_found_junior, g.x_found_mob, g.x_found_fam
from reports_test_line l
join reports_test_price g on g.ration = l.ration and g.paralel = l.paralel and g.entry_date = l.entry_date;
commit;
