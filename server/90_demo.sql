-- Demo data: deterministic, loaded only into demo clusters (pgcluster init|load --demo).

-- ---------------------------------------------------------------- schools and buildings
select admin.create_school('002', 'school', 'МБОУ «Гимназия № 2»', 'school_002_demo');
select admin.create_school('003', 'chgard', 'МБДОУ «Детский сад № 3 "Ёлочка"»', 'chgard_003_demo');

-- building notes begin with the school's code; kindergartens' labels with the Cyrillic "С"
insert into school_001.ref_corpus (corpus_id, name, note, id_1c, pay_list_report_id, staff_report_id) values
  (1, 'МБОУ СОШ № 1, основное здание', '001-1', '1C-0011', 8, null),
  (2, 'МБОУ СОШ № 1, дошкольное отделение', '001-Д', '1C-0012', 9, 12);
insert into school_002.ref_corpus (corpus_id, name, note, id_1c, pay_list_report_id) values
  (1, 'МБОУ Гимназия № 2', '002-1', '1C-0021', 8);
insert into chgard_003.ref_corpus (corpus_id, name, note, id_1c, pay_list_report_id) values
  (1, 'МБДОУ Детский сад № 3', 'С003-1', '1C-0031', 9);

-- ---------------------------------------------------------------- organisation
insert into dorv.ref_property (name, note, property_value) values
  ('Name_org', 'Наименование организации', 'МУП «Комбинат школьного питания»'),
  ('menu_link', 'Адрес опубликованного меню', 'https://menu.example.org/all_menu?corpus='),
  ('beg_date_interval', 'Начало периода списков документов', '01.01.2024'),
  ('end_date_interval', 'Конец периода списков документов', '31.12.2024'),
  ('homepage', 'Сайт комбината школьного питания', 'https://kshp.example.org/'),
  ('show_balance', 'Показывать баланс в ведомости (0 - нет)', '1'),
  ('buh_contacts', 'Бухгалтерия КШП, пн-пт 9:00-17:00', '+7 (000) 000-00-00');

insert into public.version_info (version, url) values
  ('2.0.0.327', 'https://kshp.example.org/updates/dorv_setup_2.0.0.327.exe');

insert into dorv.ref_admin_desk_men (full_name, pasport_ser, pasport_num, date_released, org_released, is_blocked) values
  ('Смирнова Ольга Петровна', '4510', '123456', '2012-05-14', 'ОВД района Северный', 0),
  ('Андреев Игорь Викторович', '4511', '654321', '2015-09-01', 'ОВД района Южный', 0),
  ('Ёлкина Мария Сергеевна', '4512', '111222', '2010-02-20', 'ОВД района Центральный', 1);

insert into admin.acl_sch_func (func_name, func_descr, status) values
  ('ovz_report_gamma_all', 'Отчет ОВЗ «Все с 1 по 11» в меню печати', 1),
  ('popup_is_700', 'Пункты льготы 700 р в ведомости', 1),
  ('quarantine_report', 'Отчеты за карантин в меню печати ведомостей', 0),
  ('refund_request', 'Лист «Заявления на возврат средств» АРМ КШП', 1),
  ('remote_edu_ovz', 'Дистанционное обучение: ОВЗ', 0),
  ('remote_edu_subsidy', 'Дистанционное обучение: бесплатное питание', 0);

-- rights: positions of the 12 tool buttons
insert into admin.user_rights (user_name, module_indx, value)
  select o.org_id, m, 1 from public.ref_edu_org o, unnest(array[1, 2, 4, 5, 7, 8, 10, 12]) m;
insert into admin.user_rights (user_name, module_indx, value)
  select 'dorv', m, 1 from unnest(array[2, 3, 6, 8, 10, 12]) m;
insert into admin.user_rights values ('dorv_technolog', 11, 1);
insert into admin.user_rights (user_name, module_indx, value)
  select 'admin', m, 1 from generate_series(1, 12) m;
insert into admin.user_rights values ('school_002', 3, 0);   -- an explicit refusal

-- news: for every school, for school_001 only, for the service accounts, a withdrawn one
insert into admin.news (id_news, date_news, title_news, text_news, autor, id_type, school_name, status) values
  (1, '2024-01-10 09:00', 'Новое меню', 'С 15 января действует новое меню на зимний период.', 'admin', 1, null, 4),
  (2, '2024-01-12 10:30', 'Сверка контингента', 'Школе № 1 просьба сверить контингент до 20 января.', 'dorv', 3, 'school_001', 4),
  (3, '2024-01-13 08:00', 'Плановые работы', 'В субботу с 22:00 сервер будет недоступен.', 'admin', 2, null, 4),
  (4, '2024-01-05 12:00', 'Черновик', 'Не опубликовано.', 'admin', 1, null, 0);
select setval(pg_get_serial_sequence('admin.news', 'id_news'), 4);
insert into admin.news_read (id_news, user_name, read_date) values (1, 'school_002', '2024-01-11 08:00');

insert into dorv.ref_pay_terminal values (1, 'Сбербанк'), (3, 'Платежный агент «Город»');

-- meals, prices and the weekday rations of pupils: 91_demo_meals.sql

-- ---------------------------------------------------------------- pupils
insert into public.human (account_id, last_name, first_name, middle_name, birth_day, is_invalid, is_locked) values
  (100000001, 'Ершов', 'Павел', 'Андреевич', '2017-03-12', null, 0),
  (100000002, 'Ёлкин', 'Степан', 'Ильич', '2017-07-01', null, 0),
  (100000003, 'Елкин', 'Артём', 'Олегович', '2017-01-23', 1, 0),
  (100000004, 'Абрамова', 'Яна', 'Денисовна', '2013-11-30', null, 0),
  (100000005, 'Жуков', 'Егор', 'Романович', '2013-05-05', null, 0),
  (100000006, 'Эйсмонт', 'Алиса', 'Игоревна', '2013-02-14', null, 0),
  (100000007, 'Белова', 'Ева', 'Максимовна', '2020-08-08', null, 0),
  (100000008, 'Юдин', 'Лев', 'Петрович', '2013-09-19', null, 1),
  (100000009, 'Иванов', 'Иван', 'Иванович', '2012-04-04', null, 0),
  (100000010, 'Щукина', 'Дарья', 'Алексеевна', '2012-10-10', null, 0),
  (100000011, 'Морозова', 'Ульяна', 'Фёдоровна', '2021-01-15', null, 0);
select setval('public.seq_human', 100000011);

insert into school_001.human_available (account_id, attr)
  select account_id, 0 from public.human where account_id between 100000001 and 100000008;
update school_001.human_available set attr = 1 where account_id = 100000008;
insert into school_002.human_available (account_id, attr) values (100000009, 0), (100000010, 0);
insert into chgard_003.human_available (account_id, attr) values (100000011, 0);

-- classes and the roll of school_001 (class nodes from 01.09.2023)
insert into school_001.ref_class (class_id, corpus, paralel, name) values
  (1, 1, 1, '1А'), (2, 1, 5, '5Б'), (3, 2, 32, 'Младшая группа «Солнышко»');
insert into school_002.ref_class (class_id, corpus, paralel, name) values (1, 1, 6, '6А');

insert into school_001.doc_move (doc_no, doc_class, entry_date, account_id, class_from, class_to) values
  (1, 4, '2023-09-01', null, null, 1), (2, 4, '2023-09-01', null, null, 2), (3, 4, '2023-09-01', null, null, 3),
  (4, 1, '2023-09-01', 100000001, null, 1), (5, 1, '2023-09-01', 100000002, null, 1),
  (6, 1, '2023-09-01', 100000003, null, 1), (7, 1, '2023-09-01', 100000004, null, 2),
  (8, 1, '2023-09-01', 100000005, null, 2), (9, 1, '2023-09-01', 100000006, null, 2),
  (10, 2, '2024-01-15', 100000006, 2, null),          -- leaves on 15.01.2024
  (11, 1, '2024-01-10', 100000007, null, 3);          -- joins the kindergarten group on 10.01.2024
insert into school_001.sys_matrix (node_id, view, account_id, paralel, class) values
  (1, 3, null, 1, 1), (2, 3, null, 5, 2), (3, 3, null, 32, 3),
  (4, 1, 100000001, 1, 1), (5, 1, 100000002, 1, 1), (6, 1, 100000003, 1, 1),
  (7, 1, 100000004, 5, 2), (8, 1, 100000005, 5, 2), (9, 1, 100000006, 5, 2),
  (10, 1, 100000007, 32, 3);
insert into school_001.sys_matrix_entry (node_id, entry_date, qty, doc_no) values
  (1, '2023-09-01', 1, 1), (2, '2023-09-01', 1, 2), (3, '2023-09-01', 1, 3),
  (4, '2023-09-01', 1, 4), (5, '2023-09-01', 1, 5), (6, '2023-09-01', 1, 6),
  (7, '2023-09-01', 1, 7), (8, '2023-09-01', 1, 8), (9, '2023-09-01', 1, 9),
  (9, '2024-01-15', -1, 10), (10, '2024-01-10', 1, 11);
update school_001.doc_move set created = entry_date;   -- deterministic reloads
insert into school_001.doc_class_in (class_id, entry_date, status) values (1, '2023-09-01', 4), (2, '2023-09-01', 4);
select setval(pg_get_serial_sequence('school_001.ref_class', 'class_id'), 3),
       setval(pg_get_serial_sequence('school_001.doc_move', 'doc_no'), 11),
       setval(pg_get_serial_sequence('school_001.sys_matrix', 'node_id'), 10),
       setval(pg_get_serial_sequence('school_002.ref_class', 'class_id'), 1);

insert into school_002.sys_matrix (node_id, view, account_id, paralel, class) values
  (1, 3, null, 6, 1), (2, 1, 100000009, 6, 1), (3, 1, 100000010, 6, 1);
insert into school_002.sys_matrix_entry (node_id, entry_date, qty) values
  (1, '2023-09-01', 1), (2, '2023-09-01', 1), (3, '2023-09-01', 1);
select setval(pg_get_serial_sequence('school_002.sys_matrix', 'node_id'), 3);

insert into public.human_privilege_period (account_id, date_beg, date_end, entry_date) values
  (100000004, '2024-01-09', '2024-05-31', '2024-01-09');

-- ---------------------------------------------------------------- calculated balances
insert into public.calc_current_debt (account_id, edu_org, corpus, paralel, class, last_name, first_name, middle_name, last_date, debt)
  select h.account_id, 'school_001', '001-1', m.paralel, c.name, h.last_name, h.first_name, h.middle_name, '2024-01-12',
         case when h.account_id % 2 = 0 then 150.00 else -85.50 end
  from public.human h join school_001.sys_matrix m on m.account_id = h.account_id and m.view = 1
  join school_001.ref_class c on c.class_id = m.class
  where c.corpus = 1;
insert into public.calc_descr values ('calc_current_debt', '2024-01-12 06:00');

-- ---------------------------------------------------------------- SMS, feedback
insert into sms.sms_log (sent_date, phone, message, sms_type, account_id) values
  ('2024-01-09 07:30', '+70000000001', 'Баланс лицевого счета 100000001 ниже 100 руб.', 1, 100000001),
  ('2024-01-11 12:00', '+70000000004', 'Зачислено 500,00 руб. на счет 100000004', 2, 100000004);
insert into lk.feedback (sent_date, parent_fio, phone, email, account_id, edu_org, class, text, status) values
  ('2024-01-11 18:20', 'Абрамова Светлана Игоревна', '+70000000004', 'parent@example.org', 100000004,
   'school_001', '5Б', 'Прошу уточнить меню на следующую неделю.', 0);
