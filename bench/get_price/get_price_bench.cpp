// Prices 100,000 (ration, date, parallel) triples through public.get_price in one
// set-based statement, next to a plain indexed look-up of one price row per triple
// (the latest row of one meal type for the date and parallel), and reports the time per
// call of each and their ratio.
// Usage: bench_get_price "<libpq connection string>"   (a demo cluster: rations and prices)

#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_connection.h"
#include "bench_support.h"

namespace {

constexpr int kTriples = 100000;
constexpr int kRuns = 5;

PGresult* run(PGconn* conn, const std::string& sql) {
    PGresult* r = PQexec(conn, sql.c_str());
    const ExecStatusType st = PQresultStatus(r);
    if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
        std::fprintf(stderr, "%s\n%s", sql.c_str(), PQerrorMessage(conn));
        std::exit(1);
    }
    return r;
}

void exec(PGconn* conn, const std::string& sql) { PQclear(run(conn, sql)); }

std::string scalar(PGconn* conn, const std::string& sql) {
    PGresult* r = run(conn, sql);
    std::string v = PQntuples(r) ? PQgetvalue(r, 0, 0) : "";
    PQclear(r);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    PGconn* conn = bench::connectOrExit(argc, argv);

    // Deterministic triples over the rations that have meal types, dates from 01.09.2023
    // to the end of 2026 and the parallels 1-11, 31, 32; each triple also names one meal
    // type (of its ration) for the plain look-up.
    exec(conn, "create temporary table bench_triples as "
               "with rations as (select daily_ration, min(food_type) as food_type, "
               "                        row_number() over (order by daily_ration) - 1 as n "
               "                 from public.ref_daily_ration_sp group by daily_ration), "
               "     parallels as (select p, row_number() over (order by p) - 1 as n "
               "                   from unnest(array[1,2,3,4,5,6,7,8,9,10,11,31,32]) p) "
               "select r.daily_ration as r, r.food_type as f, date '2023-09-01' + (g * 7919 % 1218) as d, pa.p as p "
               "from generate_series(1, " + std::to_string(kTriples) + ") g "
               "join rations r on r.n = g % (select count(*) from rations) "
               "join parallels pa on pa.n = (g / 7) % 13");
    exec(conn, "analyze bench_triples");
    const std::string count = scalar(conn, "select count(*) from bench_triples");
    if (std::stoi(count) != kTriples) {
        std::fprintf(stderr, "expected %d triples, got %s (load the demo data)\n", kTriples, count.c_str());
        return 1;
    }

    const std::string viaGetPrice =
        "select sum(p.x_parent + p.x_dorv + p.x_privilege + p.x_subsidy + p.x_ovz + p.x_staff + p.x_found_junior "
        "+ p.x_found_mob + p.x_found_fam) from bench_triples t "
        "cross join lateral public.get_price(t.r, t.d, t.p) p";
    const std::string plainLookup =
        "select sum(p.parent + p.dorv + p.privilege + p.subsidy + p.ovz + p.staff + p.junior + p.mob + p.fam) "
        "from bench_triples t cross join lateral ("
        " select m.parent, m.dorv, m.privilege, m.subsidy, m.ovz, m.staff, m.junior, m.mob, m.fam "
        " from public.mealref_price m "
        " where m.food_type = t.f and m.actual_date <= t.d and t.p between m.paralel_min and m.paralel_max "
        " order by m.actual_date desc limit 1) p";

    scalar(conn, viaGetPrice);  // warm the caches
    scalar(conn, plainLookup);
    const double getPriceMs = bench::medianMs(kRuns, [&] { scalar(conn, viaGetPrice); });
    const double lookupMs = bench::medianMs(kRuns, [&] { scalar(conn, plainLookup); });
    const double meals = std::stod(scalar(conn,
        "select avg(n) from bench_triples t cross join lateral "
        "(select count(*) as n from public.ref_daily_ration_sp s where s.daily_ration = t.r) c"));

    bench::report("get_price_statement", getPriceMs, "ms");
    bench::report("get_price_per_call", getPriceMs * 1000.0 / kTriples, "us");
    bench::report("plain_price_lookup_statement", lookupMs, "ms");
    bench::report("plain_price_lookup_per_call", lookupMs * 1000.0 / kTriples, "us");
    bench::report("get_price_to_lookup_ratio", getPriceMs / lookupMs, "x");
    bench::report("meal_types_per_ration", meals, "avg");
    PQfinish(conn);
    return 0;
}
