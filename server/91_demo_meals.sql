-- Demo data of the meal reference: meal types, rations, prices that change on 01.09 of
-- each school year, the rations offered in each building and pupils' weekday rations.
-- Loaded after 90_demo.sql (the schools, buildings and pupils come from there).

-- ---------------------------------------------------------------- meal types
-- found_*: non-null when that fund pays a part of the meal type
insert into public.mealref_type (food_type_id, name, found_parent, found_dorv, found_privilege, found_subsidy,
                                 found_ovz, found_staff, found_junior, found_mob, found_fam) values
  (1, 'Завтрак', 1, 1, null, 1, 1, null, null, null, null),
  (2, 'Обед', 1, null, 1, 1, 1, null, null, null, null),
  (3, 'Полдник', 1, null, null, null, null, null, null, null, null),
  (4, 'Второй завтрак', 1, null, null, null, null, null, null, null, null),
  (5, 'Ужин', 1, null, null, null, null, null, null, null, null),
  (6, 'Обед сотрудника', null, null, null, null, null, 1, null, null, null),
  (7, 'Завтрак льготный', null, null, 1, 1, null, null, null, null, null),
  (8, 'Обед льготный', null, null, 1, 1, null, null, null, null, null),
  (9, 'Завтрак ОВЗ', null, null, null, null, 1, null, null, null, null),
  (10, 'Обед ОВЗ', null, null, null, null, 1, null, null, null, null),
  (11, 'Горячий завтрак 1-4 классов', null, 1, null, null, null, null, 1, null, null),
  (12, 'Завтрак (семьи мобилизованных)', null, null, null, null, null, null, null, 1, null),
  (13, 'Завтрак (многодетные семьи)', null, null, null, null, null, null, null, null, 1);

-- ---------------------------------------------------------------- rations
insert into public.ref_daily_ration (daily_ration_id, name, disabled) values
  (1, 'Завтрак', 0), (2, 'Обед', 0), (3, 'Завтрак и обед', 0), (4, 'Пятиразовое питание', 0),
  (5, 'День в детском саду (5-разовое)', 0),
  (6, 'Питание сотрудников', 0),
  (7, 'Бесплатное питание льготников', 0),
  (8, 'Питание обучающихся с ОВЗ', 0),
  (9, 'Горячий завтрак 1-4 классы', 0),
  (10, 'Завтрак (семьи мобилизованных)', 0),
  (11, 'Завтрак (многодетные семьи)', 0),
  (12, 'Полдник (группа продленного дня)', 0),
  (13, 'Завтрак и обед (до 2023 года)', 1);   -- withdrawn
insert into public.ref_daily_ration_sp (daily_ration, food_type) values
  (1, 1), (2, 2), (3, 1), (3, 2), (4, 1), (4, 2), (4, 3),
  (5, 1), (5, 4), (5, 2), (5, 3), (5, 5),
  (6, 6), (7, 7), (7, 8), (8, 9), (8, 10), (9, 11), (10, 12), (11, 13), (12, 3),
  (13, 1), (13, 2);

-- ---------------------------------------------------------------- prices
-- 2023/24 school year (lunch went up on 01.01.2024)
insert into public.mealref_price (actual_date, food_type, paralel_min, paralel_max, parent, dorv, privilege, subsidy, ovz, staff, junior) values
  ('2023-09-01', 1, 1, 4, 0, 10, 0, 85, 0, 0, 0),
  ('2023-09-01', 1, 5, 11, 95, 0, 0, 0, 0, 0, 0),
  ('2023-09-01', 2, 1, 11, 120, 0, 0, 0, 0, 0, 0),
  ('2023-09-01', 3, 31, 32, 60, 0, 0, 0, 0, 0, 0),
  ('2024-01-01', 2, 1, 11, 130, 0, 0, 0, 0, 0, 0);

-- Prices of the current school year (from 01.09.2026); the previous year (from 01.09.2025)
-- cost 7 % less, and the meal types added in 2023 started at 80 % of today's price.
with current_year (food_type, paralel_min, paralel_max, parent, dorv, privilege, subsidy, ovz, staff, junior, mob, fam) as (
  values
    (1, 1, 4,    0, 12,  0, 102,   0,   0,   0,   0,   0),
    (1, 5, 11, 112,  0,  0,   0,   0,   0,   0,   0,   0),
    (1, 31, 32, 75,  0,  0,   0,   0,   0,   0,   0,   0),
    (2, 1, 4,  150,  0,  0,   0,   0,   0,   0,   0,   0),
    (2, 5, 11, 160,  0,  0,   0,   0,   0,   0,   0,   0),
    (2, 31, 32, 118, 0,  0,   0,   0,   0,   0,   0,   0),
    (3, 1, 11,  60,  0,  0,   0,   0,   0,   0,   0,   0),
    (3, 31, 32, 70,  0,  0,   0,   0,   0,   0,   0,   0),
    (4, 31, 32, 32,  0,  0,   0,   0,   0,   0,   0,   0),
    (5, 31, 32, 80,  0,  0,   0,   0,   0,   0,   0,   0),
    (6, 1, 32,   0,  0,  0,   0,   0, 190,   0,   0,   0),
    (7, 1, 11,   0,  0, 55,  60,   0,   0,   0,   0,   0),
    (8, 1, 11,   0,  0, 75,  85,   0,   0,   0,   0,   0),
    (9, 1, 11,   0,  0,  0,   0, 112,   0,   0,   0,   0),
    (10, 1, 11,  0,  0,  0,   0, 160,   0,   0,   0,   0),
    (11, 1, 4,   0, 12,  0,   0,   0,   0, 102,   0,   0),
    (12, 1, 11,  0,  0,  0,   0,   0,   0,   0, 112,   0),
    (13, 1, 11,  0,  0,  0,   0,   0,   0,   0,   0, 112)
), years (actual_date, factor, new_types_only) as (
  values (date '2023-09-01', 0.80, true), (date '2025-09-01', 0.93, false), (date '2026-09-01', 1.00, false)
)
insert into public.mealref_price (actual_date, food_type, paralel_min, paralel_max,
                                  parent, dorv, privilege, subsidy, ovz, staff, junior, mob, fam)
select y.actual_date, c.food_type, c.paralel_min, c.paralel_max,
       round(c.parent * y.factor), round(c.dorv * y.factor), round(c.privilege * y.factor),
       round(c.subsidy * y.factor), round(c.ovz * y.factor), round(c.staff * y.factor),
       round(c.junior * y.factor), round(c.mob * y.factor), round(c.fam * y.factor)
from current_year c cross join years y
where not (y.new_types_only and c.food_type <= 3)
order by 1, 2, 3;

-- ---------------------------------------------------------------- rations of the buildings
-- attr 1 = may be chosen in the building, 0 = listed but not offered
insert into school_001.daily_ration_available (daily_ration_id, corpus_id, attr) values
  (1, 1, 1), (2, 1, 1), (3, 1, 1), (6, 1, 1), (7, 1, 1), (8, 1, 1), (9, 1, 1), (10, 1, 1), (11, 1, 1), (12, 1, 1),
  (4, 2, 1), (5, 2, 1), (6, 2, 1);
insert into school_002.daily_ration_available (daily_ration_id, corpus_id, attr) values
  (1, 1, 1), (2, 1, 1), (3, 1, 1), (6, 1, 1), (7, 1, 1), (8, 1, 1), (9, 1, 0);
insert into chgard_003.daily_ration_available (daily_ration_id, corpus_id, attr) values
  (4, 1, 1), (5, 1, 1), (6, 1, 1);

-- ---------------------------------------------------------------- weekday rations of pupils
insert into school_001.human_food_type values
  (100000001, 3, 3, 3, 3, 3, null, null),
  (100000002, 1, 1, 1, 1, 1, null, null),
  (100000007, 5, 5, 5, 5, 5, null, null);
