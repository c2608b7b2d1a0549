-- Run as school_001: presence of roll nodes on dates, the disability flag.
begin;

do $$
declare
  c record;
  got integer;
begin
  -- demo roll: node 9 (pupil 100000006) from 01.09.2023 until 15.01.2024 (leaves that day),
  -- node 10 (pupil 100000007) from 10.01.2024, node 1 (class 1А) from 01.09.2023
  for c in select * from (values
      (9, date '2023-08-31', 0, 0), (9, date '2023-09-01', 0, 1), (9, date '2024-01-14', 0, 1),
      (9, date '2024-01-15', 0, 0), (9, date '2024-06-01', 0, 0), (9, date '2024-01-15', 1, 1),
      (10, date '2024-01-09', 0, 0), (10, date '2024-01-10', 0, 1), (10, date '2024-01-10', 1, 0),
      (10, date '2030-01-01', 0, 1), (1, date '2023-09-01', 0, 1), (1, date '2023-08-31', 0, 0)
    ) v(node, on_date, mode, expected) loop
    got := get_node_saldo(c.node, c.on_date, c.mode);
    if got <> c.expected then
      raise exception 'get_node_saldo(%, %, %) = %, expected %', c.node, c.on_date, c.mode, got, c.expected;
    end if;
  end loop;
  -- the date as short-date text, unqualified and schema-qualified
  if get_node_saldo(9, '14.01.2024', 0) <> 1 or school_001.get_node_saldo(9, '15.01.2024', 0) <> 0 then
    raise exception 'get_node_saldo with a text date is wrong';
  end if;

  -- the class list statement shape: pupils of 1А present on a text date
  if (select count(*) from sys_matrix t1, public.human t3
      where view = 1 and get_node_saldo(t1.node_id, '29.02.2024', 0) <> 0
        and t1.account_id = t3.account_id and t1.class = 2) <> 2 then
    raise exception 'pupils of 5Б on 29.02.2024 should be 2';
  end if;
end
$$;

-- the disability flag, with the statements of the shared services
update public.human set is_invalid = 1 where account_id = 100000001;
do $$
begin
  if (select is_invalid from public.human where account_id = 100000001) is distinct from 1::smallint then
    raise exception 'is_invalid was not set';
  end if;
end
$$;
update public.human set is_invalid = null where account_id = 100000001;
do $$
begin
  if (select is_invalid from public.human where account_id = 100000001) is not null then
    raise exception 'is_invalid was not cleared to null';
  end if;
end
$$;

rollback;
