-- Run as admin: read marks are per login; service news go to the service accounts.
begin;

do $$
declare
  ids text;
begin
  -- news 1 is unread for school_001 and chgard_003, read by school_002 (demo data)
  perform admin.mark_news_for_user(1, 'school_001');
  if exists (select 1 from admin.get_actual_news_for_user('school_001') where x_id_news = 1) then
    raise exception 'news 1 still unread for school_001';
  end if;
  if not exists (select 1 from admin.get_actual_news_for_user('chgard_003') where x_id_news = 1) then
    raise exception 'marking for school_001 marked news 1 for chgard_003 too';
  end if;
  -- news 2 is addressed to school_001 only
  if exists (select 1 from admin.get_actual_news_for_user('school_002') where x_id_news = 2) then
    raise exception 'news for school_001 shown to school_002';
  end if;
  -- the start-up alert of a service account: type 2 only
  select string_agg(x_id_news::text, ',') into ids from admin.get_actual_news_for_user('dorv') where x_attr = 2;
  if ids is distinct from '3' then
    raise exception 'service news of dorv: %', ids;
  end if;
  perform admin.mark_news_for_user(3, 'admin');
  if exists (select 1 from admin.get_actual_news_for_user('admin')) or
     not exists (select 1 from admin.get_actual_news_for_user('dorv')) then
    raise exception 'service news read marks are not per login';
  end if;
end
$$;

rollback;
