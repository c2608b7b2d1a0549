-- Run as school_001: unread news and read marks of one login.
begin;

do $$
declare
  ids text;
  refused boolean := false;
begin
  select string_agg(x_id_news::text, ',' order by x_id_news) into ids from admin.get_actual_news_for_user('school_001');
  -- 1 (all schools) and 2 (addressed to school_001); not 3 (service news) nor 4 (withdrawn)
  if ids is distinct from '1,2' then
    raise exception 'unread news of school_001: %, expected 1,2', ids;
  end if;
  if exists (select 1 from admin.get_actual_news_for_user('school_001') where x_attr = 2) then
    raise exception 'service news shown to a school';
  end if;

  perform admin.mark_news_for_user(1, 'school_001');
  perform admin.mark_news_for_user(1, 'school_001');   -- twice changes nothing
  select string_agg(x_id_news::text, ',' order by x_id_news) into ids from admin.get_actual_news_for_user('school_001');
  if ids is distinct from '2' then
    raise exception 'after marking news 1 read: %', ids;
  end if;
  select string_agg(x_id_news::text, ',' order by x_id_news) into ids from admin.get_nonactual_news_for_user('school_001');
  if ids is distinct from '1' then
    raise exception 'read news of school_001: %', ids;
  end if;

  -- the marks of another login are neither readable nor writable
  begin
    perform admin.mark_news_for_user(1, 'school_002');
  exception when insufficient_privilege then
    refused := true;
  end;
  if not refused then
    raise exception 'school_001 marked news for school_002';
  end if;
end
$$;

rollback;
