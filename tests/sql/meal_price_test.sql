-- Run as a login that keeps the price list (dorv, a school): the price of a ration on a
-- date for a parallel, and the refusals of bad price-list rows.  Rations 9001.. and their
-- prices are made here over the demo meal types and rolled back at the end.
begin;

insert into ref_daily_ration (daily_ration_id, name, disabled) values
  (9001, 'Тест: завтрак и обед', 0), (9002, 'Тест: без состава', 0), (9003, 'Тест: только ужин', 0);
insert into ref_daily_ration_sp (daily_ration, food_type) values (9001, 1), (9001, 2), (9003, 5);
-- meal type 5 ("Ужин"): from 01.01.2030 for 1-4 and 5-11, changing on 01.02.2030 for 5-11,
-- and a row from tomorrow (relative to today) for the kindergarten
insert into mealref_price (actual_date, food_type, paralel_min, paralel_max, parent, dorv, privilege, subsidy, ovz, staff, junior) values
  ('01.01.2030', 5, 1, 4, 10, 1, 2, 3, 4, 5, 6),
  ('01.01.2030', 5, 5, 11, 20, 0, 0, 0, 0, 0, 0),
  ('01.02.2030', 5, 5, 11, 25, 0, 0, 0, 0, 0, 0),
  (current_date - 1, 5, 31, 32, 40, 0, 0, 0, 0, 0, 0),
  (current_date + 1, 5, 31, 32, 99, 0, 0, 0, 0, 0, 0);

do $$
declare
  c record;
  got record;
  n integer;
begin
  -- table of cases: ration, date, parallel -> expected parts (СЗП, КШП, Л, Б, ОВЗ, ПС, ПМК)
  for c in select * from (values
      (9003, date '2029-12-31', 3,  0, 0, 0, 0, 0, 0, 0, 'before the first price'),
      (9003, date '2030-01-01', 3, 10, 1, 2, 3, 4, 5, 6, 'first day of the price, junior range'),
      (9003, date '2030-01-31', 7, 20, 0, 0, 0, 0, 0, 0, 'senior range before its change'),
      (9003, date '2030-02-01', 7, 25, 0, 0, 0, 0, 0, 0, 'senior range on the day of its change'),
      (9003, date '2030-06-01', 4, 10, 1, 2, 3, 4, 5, 6, 'junior range keeps its price'),
      (9003, date '2030-06-01', 12, 0, 0, 0, 0, 0, 0, 0, 'a parallel no row covers'),
      (9003, current_date, 32, 40, 0, 0, 0, 0, 0, 0, 'a price valid from tomorrow is not used today'),
      (9003, current_date + 1, 31, 99, 0, 0, 0, 0, 0, 0, 'it is used from tomorrow'),
      (9002, date '2030-06-01', 3,  0, 0, 0, 0, 0, 0, 0, 'a ration without meal types'),
      (9001, date '2024-01-15', 1, 130, 10, 0, 85, 0, 0, 0, 'sum of the meal types (demo breakfast + lunch)'),
      (9001, date '2023-12-31', 7, 215, 0, 0, 0, 0, 0, 0, 'before the lunch price change of 01.01.2024')
    ) v(ration, on_date, paralel, parent, dorv, privilege, subsidy, ovz, staff, junior, what)
  loop
    select count(*) into n from public.get_price(c.ration, c.on_date, c.paralel);
    if n <> 1 then
      raise exception '%: get_price returned % rows', c.what, n;
    end if;
    select * into got from public.get_price(c.ration, c.on_date, c.paralel);
    if (got.x_parent, got.x_dorv, got.x_privilege, got.x_subsidy, got.x_ovz, got.x_staff, got.x_found_junior,
        got.x_found_mob, got.x_found_fam)
       is distinct from (c.parent::numeric, c.dorv::numeric, c.privilege::numeric, c.subsidy::numeric,
                         c.ovz::numeric, c.staff::numeric, c.junior::numeric, 0::numeric, 0::numeric) then
      raise exception '%: got %', c.what, got;
    end if;
  end loop;

  -- the pay-list statements send the date as text in the short format
  if (select x_parent from public.get_price(9003, '15.01.2030', 2)) <> 10 then
    raise exception 'text date overload';
  end if;
end $$;

-- refusals: each bad row raises its Russian message and its SQLSTATE, and stores nothing
do $$
declare
  c record;
  state text;
  message text;
begin
  for c in select * from (values
      ('insert into mealref_price (actual_date, food_type, paralel_min, paralel_max, parent) values (''01.03.2030'', 5, 1, 4, -1)',
       '23514', 'Часть цены «СЗП» не может быть отрицательной: -1.00'),
      ('insert into mealref_price (actual_date, food_type, paralel_min, paralel_max, junior) values (''01.03.2030'', 5, 1, 4, -5)',
       '23514', 'Часть цены «ПМК» не может быть отрицательной: -5.00'),
      ('insert into mealref_price (actual_date, food_type, paralel_min, paralel_max) values (''01.03.2030'', 5, 9, 2)',
       '23514', 'Минимальная параллель (9) больше максимальной (2)'),
      ('insert into mealref_price (actual_date, food_type, paralel_min, paralel_max) values (''01.03.2030'', 5, 1, 15)',
       '23503', 'Параллели 15 нет в справочнике параллелей'),
      ('insert into mealref_price (actual_date, food_type, paralel_min, paralel_max) values (''01.01.2030'', 5, 4, 6)',
       '23P01', 'Цена типа питания 5 с 01.01.2030 для параллелей 4-6 пересекается с ценой для параллелей 1-4'),
      ('update mealref_price set paralel_max = 5 where food_type = 5 and actual_date = ''01.01.2030'' and paralel_min = 1',
       '23P01', 'Цена типа питания 5 с 01.01.2030 для параллелей 1-5 пересекается с ценой для параллелей 5-11'),
      ('insert into mealref_price (actual_date, food_type, paralel_min, paralel_max) values (null, 5, 1, 4)',
       '23502', 'Не указана дата, с которой действует цена'),
      ('insert into ref_daily_ration (daily_ration_id, name, disabled) values (9001, ''Дубль'', 0)',
       '23505', 'Рацион с кодом 9001 уже есть: «Тест: завтрак и обед»'),
      ('insert into ref_daily_ration (daily_ration_id, name, disabled) values (null, ''Без кода'', 0)',
       '23502', 'Не указан код рациона'),
      ('insert into ref_daily_ration_sp (daily_ration, food_type) values (9001, 2)',
       '23505', 'Тип питания «Обед» уже входит в рацион «Тест: завтрак и обед»'),
      ('insert into ref_daily_ration_sp (daily_ration, food_type) values (9001, null)',
       '23503', 'Не выбран тип питания: выберите его из справочника')
    ) v(statement, expected_state, expected_message)
  loop
    begin
      execute c.statement;
      raise exception 'accepted: %', c.statement using errcode = 'P0001';
    exception when others then
      get stacked diagnostics state = returned_sqlstate, message = message_text;
      if state <> c.expected_state or message <> c.expected_message then
        raise exception '%: got % «%», expected % «%»', c.statement, state, message, c.expected_state, c.expected_message;
      end if;
    end;
  end loop;
  if (select count(*) from mealref_price where food_type = 5 and actual_date >= '2030-01-01') <> 3 then
    raise exception 'a refused row was stored';
  end if;
end $$;

rollback;
