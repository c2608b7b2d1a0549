-- Run as a school login: the 700-rouble allowance held on a date and whether it ends in
-- the date's month, over periods made through the server functions the windows call.
-- Pupil 100000001 of school_001, dates in 2030; rolled back at the end.
begin;

-- 01.05-31.05, then 10.03-31.03 moved to end on 30.04: two adjacent periods, one allowance
do $$
begin
  perform dorv.set_priv_period(100000001, '01.05.2030', '01.05.2030', 1, '01.05.2030');
  perform dorv.set_priv_period(100000001, '10.03.2030', '10.03.2030', 1, '10.03.2030');
  perform dorv.set_priv_end_date(4, 2030, 100000001, '10.03.2030', '10.03.2030');
end $$;

do $$
declare
  c record;
begin
  if (select count(*) from public.human_privilege_period where account_id = 100000001 and date_beg >= '2030-01-01') <> 2 then
    raise exception 'expected two periods';
  end if;
  for c in select * from (values
      (date '2030-03-09', 0, 0, 'before the first period'),
      (date '2030-03-10', 1, 0, 'first day; the allowance goes on past March'),
      (date '2030-04-15', 1, 0, 'the period ends in April but the next one begins the day after'),
      (date '2030-04-30', 1, 0, 'last day of the first period'),
      (date '2030-05-01', 1, 1, 'the second period ends in May'),
      (date '2030-05-31', 1, 1, 'last day of the allowance'),
      (date '2030-06-01', 0, 0, 'after the allowance')
    ) v(on_date, held, ends, what)
  loop
    if public.check_privilege(100000001, c.on_date) <> c.held
       or public.check_end_privelege_period(100000001, c.on_date) <> c.ends then
      raise exception '%: check_privilege %, check_end_privelege_period %', c.what,
        public.check_privilege(100000001, c.on_date), public.check_end_privelege_period(100000001, c.on_date);
    end if;
  end loop;
  -- the pay list sends the date as text
  if public.check_privilege(100000001, '15.04.2030') <> 1 or public.check_end_privelege_period(100000001, '15.05.2030') <> 1 then
    raise exception 'text date overloads';
  end if;
end $$;

-- withdrawing on 20.04 ends the allowance there and removes the later period
do $$
begin
  perform dorv.set_priv_period(100000001, '20.04.2030', '20.04.2030', 2, '20.04.2030');
  if public.check_privilege(100000001, date '2030-04-21') <> 0 or public.check_privilege(100000001, date '2030-05-10') <> 0
     or public.check_end_privelege_period(100000001, date '2030-04-10') <> 1 then
    raise exception 'withdrawal: periods are %',
      (select string_agg(date_beg || '..' || date_end, ', ') from public.human_privilege_period where account_id = 100000001);
  end if;
end $$;

rollback;
