-- insert_pay_list of the demo school's first building next to a bare INSERT ... SELECT of
-- the same lines into the same table (its keys, indexes and foreign keys), both in the
-- cluster owner's session, each run rolled back. Run by scripts/bench through
-- "pgcluster sql"; prints its two lines as notices.
do $$
declare
  d date;
  doc integer;
  t timestamptz;
  made double precision[] := '{}';
  bare double precision[] := '{}';
  lines integer;
begin
  select min(x)::date into d
    from generate_series(current_date + 1, current_date + 366, interval '1 day') x
   where extract(isodow from x) = 1
     and not exists (select 1 from school_001.pay_list where corpus = 1 and entry_date = x);
  for i in 1 .. 8 loop
    begin
      t := clock_timestamp();
      doc := school_001.insert_pay_list(d, 1);
      made := made || extract(epoch from clock_timestamp() - t) * 1000;
      create temporary table bench_lines on commit drop as
        select * from school_001.pay_list_sp where doc_no = doc;
      select count(*) into lines from bench_lines;
      delete from school_001.pay_list_sp where doc_no = doc;
      t := clock_timestamp();
      insert into school_001.pay_list_sp select * from bench_lines;
      bare := bare || extract(epoch from clock_timestamp() - t) * 1000;
      raise exception using errcode = 'ZB001', message = 'roll back';
    exception when sqlstate 'ZB001' then
      null;  -- everything of this run is undone
    end;
  end loop;
  -- the first run warms the caches; the median of the others
  made := made[2:];
  bare := bare[2:];
  raise notice 'insert_pay_list_owner_session: % ms',
    round((select percentile_cont(0.5) within group (order by v) from unnest(made) v)::numeric, 3);
  raise notice 'insert_select_same_table: % ms',
    round((select percentile_cont(0.5) within group (order by v) from unnest(bare) v)::numeric, 3);
  raise notice 'insert_pay_list_ratio_vs_insert_select_same_table: % x (reference 3)',
    round(((select percentile_cont(0.5) within group (order by v) from unnest(made) v)
         / (select percentile_cont(0.5) within group (order by v) from unnest(bare) v))::numeric, 3);
end
$$;
