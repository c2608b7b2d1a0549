-- Privileges on the shared schemas.  School schemas get theirs from the template
-- (admin.school_grants).  Nothing is granted to PUBLIC: every login is in grp_users.

revoke all on database dorv from public;
grant connect, temporary on database dorv to grp_users;

-- ---------------------------------------------------------------- every login
grant usage on schema public, admin, dorv to grp_users;
grant select on all tables in schema public to grp_users;          -- card file, references, version, balances
grant usage, select on sequence public.seq_human to dorv;
revoke select on public.human_change_request from grp_users;            -- requests of one school
grant select on public.human_change_request to dorv, admin;
grant execute on all functions in schema public to grp_users;
revoke execute on function public.generate_grants_on_school(text) from grp_users;

grant insert on admin.message_log, admin.session_log to grp_users;   -- own rows only (row security)
grant select on admin.acl_sch_func, admin.ref_type_news to grp_users;
grant execute on function
  admin.get_actual_news_for_user(text), admin.get_nonactual_news_for_user(text),
  admin.get_private_news_list(text), admin.mark_news_for_user(integer, text) to grp_users;

grant select on dorv.ref_property to grp_users;                      -- organisation name, homepage, contacts

-- ---------------------------------------------------------------- schools
grant update (is_invalid) on public.human to grp_schools;
grant insert, update on public.ref_daily_ration to grp_schools, admin;           -- meal-type window
grant insert, delete on public.ref_daily_ration_sp to grp_schools, admin;
grant insert, update, delete on public.mealref_price to grp_schools, admin;
grant insert, update on public.chgard_orders to grp_schools;
grant execute on function
  dorv.set_priv_period(integer, date, date, integer, date),
  dorv.set_priv_end_date(integer, integer, integer, date, date),
  dorv.del_priv_period_human(integer, date),
  dorv.get_refused_pay_list(date) to grp_schools;
grant usage on schema logs, service_docs to grp_schools;

-- ---------------------------------------------------------------- staff (dorv)
grant select, insert, update, delete on all tables in schema dorv to dorv;
grant execute on all functions in schema dorv to dorv;
grant insert, update (last_name, first_name, middle_name, birth_day) on public.human to dorv;
grant update (is_locked) on public.human to dorv;
grant usage on schema lk, sms to dorv;
grant select on all tables in schema lk, sms to dorv;
grant update (status) on lk.feedback to dorv;
grant execute on all functions in schema sms to dorv;

-- ---------------------------------------------------------------- technologist
grant select on dorv.sys_report to dorv_technolog;
grant usage on schema lk to dorv_technolog;
grant select on lk.feedback, lk.feedback_attach to dorv_technolog;
grant update (status) on lk.feedback to dorv_technolog;

-- ---------------------------------------------------------------- administrator
grant select, insert, update, delete on all tables in schema admin to admin;
grant execute on all functions in schema admin to admin;
revoke execute on function admin.create_school(text, text, text, text) from admin;   -- needs role creation: loader only
grant select, insert, update on dorv.ref_property, dorv.sys_report to admin;
grant select on dorv.ref_admin_desk_men to admin;
grant usage on schema lk, sms, logs, service_docs to admin;
grant select on all tables in schema lk, sms, logs to admin;

-- ---------------------------------------------------------------- functions of several logins
grant execute on function logs.add_log_card_student(text, text) to grp_schools;
grant execute on function dorv.get_statistic_rows() to dorv_technolog;
grant execute on function admin.get_news_list(), admin.add_news_factory(text, text, text, integer, text),
  admin.update_data_news(integer, text, text, integer, text), admin.set_status_news(integer, integer) to dorv;
grant select on admin.news to dorv;
grant insert, update on admin.news to dorv;
