-- Roles of the dorv database.
--
-- Group roles (no login) carry the privileges shared by a kind of user:
--   grp_users    every login of the system (connect, shared references, logs, news)
--   grp_schools  every school login (one login per school, named as the school's schema)
-- Service logins: dorv (the catering organisation's staff), dorv_technolog (the
-- technologist), admin (the system administrator).  School logins are created together
-- with their schema by admin.create_school (60_school_template.sql).
--
-- Passwords: clusters made by scripts/pgcluster are throwaway or demo clusters, every
-- login's password there is the login name followed by "_demo".  A production
-- installation sets real passwords after loading.

do $$
declare
  r record;
begin
  for r in select * from (values ('grp_users'), ('grp_schools')) v(name) loop
    if not exists (select 1 from pg_roles where rolname = r.name) then
      execute format('create role %I nologin', r.name);
    end if;
  end loop;
  for r in select * from (values ('dorv'), ('dorv_technolog'), ('admin')) v(name) loop
    if not exists (select 1 from pg_roles where rolname = r.name) then
      execute format('create role %I login', r.name);
    end if;
    execute format('alter role %I with login nosuperuser nocreatedb nocreaterole noinherit password %L',
                   r.name, r.name || '_demo');
    execute format('alter role %I inherit', r.name);
    execute format('grant grp_users to %I', r.name);
    -- text dates 'dd.mm.yyyy' are read day first
    execute format('alter role %I set datestyle = %L', r.name, 'ISO, DMY');
  end loop;
end
$$;

-- Unqualified names of the statements (user_rights, ref_property, sys_report, human, ...)
-- resolve through these paths: the organisation's own tables for dorv, the admin tables
-- (incl. the full user_rights table) for admin, the shared public objects for everybody.
alter role dorv set search_path = dorv, public;
alter role dorv_technolog set search_path = public;
alter role admin set search_path = admin, public;

-- Functions are not executable by everybody unless granted (70_grants.sql and the school template).
alter default privileges revoke execute on functions from public;
