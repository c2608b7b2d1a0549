-- Removes the pay lists of demo_month.sql.
begin;
set local session_replication_role = replica;
delete from school_001.pay_list_sp where doc_no in (select doc_no from school_001.pay_list where note = 'reports-test');
delete from school_001.pay_list where note = 'reports-test';
commit;
