-- Run as school_002: a school reaches its own schema and the shared objects it needs,
-- nothing of another school and none of the rows of shared tables that belong to others.
begin;

do $$
declare
  stmt text;
  allowed boolean;
begin
  foreach stmt in array array[
    -- another school's schema: tables, writes, functions
    'select * from school_001.ref_corpus',
    'select * from school_001.human_available',
    'update school_001.ref_property set property_value = ''0''',
    'insert into school_001.human_tmp (id) values (1)',
    'update school_001.pay_list set status = 4',
    'select school_001.get_node_saldo(1, current_date, 0)',
    -- rows of shared tables that belong to others, and service tables
    'select * from admin.session_log',
    'select * from admin.message_log',
    'select * from admin.user_rights',
    'select * from admin.news_read',
    'select * from dorv.ref_admin_desk_men',
    'select * from dorv.terminal_extract',
    'select * from lk.feedback',
    'insert into admin.session_log (entry_date, schema_name, version, mac_addr) values (now(), ''school_001'', ''x'', ''y'')',
    'insert into admin.message_log (schema, entry_date, message, module_name, attr, view) values (''school_001'', now(), ''x'', ''y'', 1, 0)',
    'select * from admin.get_actual_news_for_user(''school_001'')',
    'select admin.mark_news_for_user(1, ''school_001'')',
    -- the general card file: only the disability flag may be changed by a school
    'update public.human set last_name = ''Иванов'' where account_id = 100000001',
    'insert into public.human (last_name, first_name) values (''А'', ''Б'')',
    -- privilege periods of a pupil of another school
    'select dorv.set_priv_period(100000004, ''2024-01-09'', ''2024-01-09'', 2, ''2024-01-09'')',
    'select dorv.set_priv_end_date(5, 2024, 100000004, ''2024-01-09'', ''2024-01-09'')',
    'update dorv.ref_property set property_value = ''x'' where name = ''Name_org''',
    'select public.generate_grants_on_school(''school_002'')'
  ] loop
    allowed := true;
    begin
      execute stmt;
    exception when insufficient_privilege then
      allowed := false;
    end;
    if allowed then
      raise exception '% was allowed: %', current_user, stmt;
    end if;
  end loop;
end
$$;

do $$
begin
  -- positive controls: the own schema and the shared objects work
  perform 1 from school_002.ref_corpus;
  perform 1 from ref_corpus;
  perform 1 from public.human;
  perform 1 from dorv.ref_property where name = 'Name_org';
  insert into admin.message_log (schema, entry_date, message, module_name, attr, view)
    values ('school_002', now(), 'проверка', 'dm_api', 1, 0);
  insert into admin.session_log (entry_date, schema_name, version, mac_addr)
    values (now(), 'school_002', '2.0.0.327', '00-1A-2B-3C-4D-5E');
  if exists (select 1 from user_rights where user_name <> 'school_002') then
    raise exception 'user_rights shows rows of other logins';
  end if;
  if not exists (select 1 from user_rights r where r.user_name = 'school_002' and r.value = 1) then
    raise exception 'user_rights shows no rows of the login itself';
  end if;
  if exists (select 1 from information_schema.schemata where schema_name = 'school_001') then
    raise exception 'the schema of another school is visible';
  end if;
end
$$;

rollback;
