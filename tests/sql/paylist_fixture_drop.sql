-- Removes what paylist_fixture.sql made, with every pay list, ledger entry, payment and
-- balance of its building and pupils (run as the cluster owner).
delete from dorv.sys_entry where account_id between 990000001 and 990000008;
delete from dorv.terminal_extract where account_id between 990000001 and 990000008;
delete from public.calc_current_debt where account_id between 990000001 and 990000008;
delete from school_001.pay_list where corpus = 9;
delete from school_001.sys_matrix where account_id between 990000001 and 990000008;
delete from school_001.human_ration_plan where account_id between 990000001 and 990000008;
delete from school_001.human_food_type where account_id between 990000001 and 990000008;
delete from school_001.human_available where account_id between 990000001 and 990000008;
delete from public.human_privilege_period where account_id between 990000001 and 990000008;
delete from public.human where account_id between 990000001 and 990000008;
delete from school_001.ref_class where corpus = 9;
delete from school_001.ref_corpus where corpus_id = 9;
delete from public.mealref_price where food_type in (9901, 9902);
delete from public.ref_daily_ration_sp where daily_ration in (9901, 9902, 9903);
delete from public.ref_daily_ration where daily_ration_id in (9901, 9902, 9903);
delete from public.mealref_type where food_type_id in (9901, 9902);
