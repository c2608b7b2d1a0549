-- Run as a school login: dates sent as text, month boundaries, names.
begin;

do $$
declare
  c record;
  got text;
begin
  -- the month length statement of the shared services, for a table of months
  for c in select * from (values (2, 2024, '29'), (2, 2023, '28'), (2, 2000, '29'), (2, 1900, '28'),
                                 (1, 2024, '31'), (4, 2024, '30'), (12, 2024, '31')) v(m, y, expected) loop
    select substr(to_char(generate_series(cast(p.beg_date as date), cast(p.end_date as date), '1 day' ),'dd.mm.yyyy'),1,2) as interval
      into got from public.get_period(c.m, c.m, c.y) p order by 1 desc limit 1;
    if got is distinct from c.expected then
      raise exception 'month length of %.%: got %, expected %', c.m, c.y, got, c.expected;
    end if;
  end loop;

  -- the year arrives as text in some windows
  if (select count(*) from public.get_period(1, 12, '2024')) <> 12
     or (select end_date from public.get_period(2, 2, '2024')) <> date '2024-02-29' then
    raise exception 'get_period with a text year is wrong';
  end if;
  if (select string_agg(month_name, ',' order by num_month) from public.get_period(1, 3, 2024)) <> 'Январь,Февраль,Март' then
    raise exception 'month names are wrong';
  end if;

  if public.build_date_from_src(2024, 2) <> date '2024-02-29' or public.get_last_date(date '2023-12-05') <> date '2023-12-31'
     or public.get_number_selected_month(date '2024-02-29') <> 2 then
    raise exception 'date helpers are wrong';
  end if;

  -- a text date in the short date format is read day first
  if '29.02.2024'::date <> make_date(2024, 2, 29) or '01.04.2024'::date <> make_date(2024, 4, 1) then
    raise exception 'text date read as %, expected 2024-02-29', '29.02.2024'::date;
  end if;

  -- full name of an account; null for a missing one
  if public.get_people_fullname_by_id(100000004) <> 'Абрамова Яна Денисовна' then
    raise exception 'full name is %', public.get_people_fullname_by_id(100000004);
  end if;
  if public.get_people_fullname_by_id(999999999) is not null then
    raise exception 'a missing account has a name';
  end if;

  -- Russian alphabetical order: Ё sorts with Е, not after Я
  select string_agg(n, ',' order by n) into got
    from (select distinct last_name as n from public.human
           where last_name in ('Ершов', 'Ёлкин', 'Елкин', 'Абрамова', 'Юдин', 'Эйсмонт', 'Жуков')) d;
  if got <> 'Абрамова,Елкин,Ёлкин,Ершов,Жуков,Эйсмонт,Юдин' then
    raise exception 'names sorted as %', got;
  end if;
end
$$;

rollback;
