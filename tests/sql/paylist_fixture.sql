-- A small building of school_001 for the pay-list tests, run as the cluster owner: its
-- own meal types, rations and prices (from 01.01.2020), classes of a school and of a
-- kindergarten, eight pupils on the roll from 01.01.2030 (pupil 990000008 leaves on
-- 05.03.2030).  Building 9 "001-Т"; pupils 990000001-990000008; rations 9901 (every part
-- but staff), 9902 (staff meal), 9903 (no meal types: price 0).  Removed again by
-- paylist_fixture_drop.sql when a test had to commit it.
insert into public.mealref_type (food_type_id, name, found_parent, found_dorv, found_privilege, found_subsidy,
                                 found_ovz, found_junior, found_mob, found_fam)
values (9901, 'Тестовый завтрак', 1, 1, 1, 1, 1, 1, 1, 1);
insert into public.mealref_type (food_type_id, name, found_staff) values (9902, 'Тестовый обед сотрудника', 1);
insert into public.ref_daily_ration (daily_ration_id, name) values
  (9901, 'Тестовый рацион'), (9902, 'Тестовый рацион сотрудника'), (9903, 'Тестовый рацион без цены');
insert into public.ref_daily_ration_sp (daily_ration, food_type) values (9901, 9901), (9902, 9902);
insert into public.mealref_price (actual_date, food_type, paralel_min, paralel_max,
                                  parent, dorv, privilege, subsidy, ovz, staff, junior, mob, fam) values
  ('2020-01-01', 9901, 1, 32, 100, 10, 20, 30, 40, 0, 50, 60, 70),
  ('2020-01-01', 9902, 1, 32, 0, 0, 0, 0, 0, 80, 0, 0, 0);

insert into school_001.ref_corpus (corpus_id, name, note, pay_list_report_id, staff_report_id)
values (9, 'Тестовый корпус', '001-Т', 8, 12);
insert into school_001.ref_class (class_id, corpus, paralel, name) values
  (9901, 9, 2, '2Т'), (9902, 9, 7, '7Т'),
  (9903, 9, 32, 'Группа с туб. интоксикацией «Тест»'),
  (9904, 9, 31, 'Группа для детей с сахарным диабетом «Тест»'),
  (9905, 9, 32, 'Средняя группа «Тест»');

insert into public.human (account_id, last_name, first_name, middle_name, is_invalid, is_locked) values
  (990000001, 'Тестов', 'Антон', 'Петрович', null, 0),
  (990000002, 'Тестова', 'Вера', 'Ильинична', 1, 0),
  (990000003, 'Безрационов', 'Глеб', 'Олегович', null, 0),
  (990000004, 'Сотрудникова', 'Дина', 'Юрьевна', null, 0),
  (990000005, 'Ромашкин', 'Егор', 'Сергеевич', null, 0),
  (990000006, 'Васильков', 'Женя', 'Павлович', null, 0),
  (990000007, 'Средний', 'Захар', 'Ильич', null, 0),
  (990000008, 'Уходящий', 'Иван', 'Иванович', null, 0);
insert into school_001.human_available (account_id, attr)
select account_id, 0 from public.human where account_id between 990000001 and 990000008;
insert into school_001.human_food_type (account_id, monday_ration, tuesday_ration, wednesday_ration,
                                        thursday_ration, friday_ration)
select a, r, r, r, r, r
from (values (990000001, 9901), (990000002, 9901), (990000004, 9902), (990000005, 9901),
             (990000006, 9901), (990000007, 9901), (990000008, 9901)) v(a, r);

insert into school_001.sys_matrix (view, account_id, paralel, class)
select 1, v.a, c.paralel, c.class_id
from (values (990000001, 9901), (990000002, 9901), (990000003, 9902), (990000004, 9902),
             (990000005, 9903), (990000006, 9904), (990000007, 9905), (990000008, 9902)) v(a, cl)
join school_001.ref_class c on c.class_id = v.cl;
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select node_id, date '2030-01-01', 1 from school_001.sys_matrix where account_id between 990000001 and 990000008;
insert into school_001.sys_matrix_entry (node_id, entry_date, qty)
select node_id, date '2030-03-05', -1 from school_001.sys_matrix where account_id = 990000008;
