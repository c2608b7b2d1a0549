-- Demo rows for the shared look-up lists and the meal-accounting dialogs: extra-education
-- teachers, a payment agent's posted payments, dates on which pay lists are refused and a
-- second privilege period.

-- ---------------------------------------------------------------- teachers (school_001)
insert into school_001.ref_ae_teacher (full_name) values
  ('Соколова Марина Викторовна'), ('Гаврилов Олег Петрович');

-- ---------------------------------------------------------------- agent 3, September 2024
insert into dorv.terminal_extract (entry_date, pay_terminal, transaction_id, account_id, ammount, status) values
  ('2024-09-02', 3, 'demo-lookups-1', 100000001, 1500.00, 4),
  ('2024-09-02', 3, 'demo-lookups-2', 100000004, 700.50, 4),
  ('2024-09-03', 3, 'demo-lookups-3', 100000005, 1000.00, 4),
  ('2024-09-03', 1, 'demo-lookups-4', 100000005, 300.00, 4);
-- the ledger rows of these payments (unless posting them wrote them already)
insert into dorv.sys_entry (doc_class, doc_no, entry_date, account_id, ammount)
  select 7, t.seq_no, t.entry_date, t.account_id, t.ammount
    from dorv.terminal_extract t
   where t.transaction_id like 'demo-lookups-%'
     and not exists (select 1 from dorv.sys_entry e where e.doc_class = 7 and e.doc_no = t.seq_no);

-- ---------------------------------------------------------------- refused pay-list dates
insert into dorv.refused_paylist_date (entry_date, note) values
  ('2024-01-01', '111'), ('2024-05-09', '111')
  on conflict (entry_date) do nothing;

-- ---------------------------------------------------------------- privilege periods
insert into public.human_privilege_period (account_id, date_beg, date_end, entry_date) values
  (100000005, '2023-10-02', '2023-10-31', '2023-10-02')
  on conflict do nothing;
