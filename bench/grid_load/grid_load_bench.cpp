// Loading 100,000 rows x 10 mixed columns through the data layer into the grid model,
// side by side with a bare libpq loop over the same statement.
// Usage: bench_grid_load "<libpq connection string>"

#include <libpq-fe.h>

#include <QCoreApplication>

#include "bench_connection.h"
#include "bench_support.h"
#include "connection.h"
#include "dataset_model.h"
#include "query.h"

namespace {

const char* kStatement =
    "select g as id, 'Фамилия ' || g as last_name, 'Имя' || (g % 100) as first_name, "
    "(g % 11) + 1 as paralel, (g * 1.37)::numeric(12,2) as amount, "
    "date '2024-01-01' + (g % 365) as day, timestamp '2024-01-01 08:00' + g * interval '1 minute' as stamp, "
    "(g % 2 = 0) as is_locked, case when g % 7 = 0 then null else 'примечание' end as note, "
    "(g % 3)::float8 / 3 as ratio from generate_series(1, 100000) g";

long long bareLibpq(PGconn* conn) {
    PGresult* r = PQexec(conn, kStatement);
    long long bytes = 0;
    const int rows = PQntuples(r), cols = PQnfields(r);
    for (int i = 0; i < rows; ++i)
        for (int c = 0; c < cols; ++c) bytes += PQgetlength(r, i, c) + (PQgetvalue(r, i, c)[0] != 0);
    PQclear(r);
    return bytes;
}

long long throughModel(db::Connection& conn) {
    db::Query q(&conn);
    db::DatasetModel model(&q);
    q.addSql(QString::fromUtf8(kStatement));
    q.open();
    // What a grid asks for on its first paint: the visible page of cells.
    long long chars = 0;
    for (int row = 0; row < 40 && row < model.rowCount(); ++row)
        for (int c = 0; c < model.columnCount(); ++c) chars += model.data(model.index(row, c)).toString().size();
    return chars + model.rowCount();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PGconn* raw = bench::connectOrExit(argc, argv);
    db::Connection conn;
    const db::ConnectionProfile p = bench::profileFromConninfo(argv[1]);
    conn.open(p);

    bareLibpq(raw);  // warm the server's caches
    const double bare = bench::medianMs(5, [&] { bareLibpq(raw); });
    const double layer = bench::medianMs(5, [&] { throughModel(conn); });
    const double fullScan = bench::medianMs(3, [&] {
        db::Query q(&conn);
        db::DatasetModel model(&q);
        q.addSql(QString::fromUtf8(kStatement));
        q.open();
        long long n = 0;
        for (int row = 0; row < model.rowCount(); ++row)
            for (int c = 0; c < model.columnCount(); ++c) n += model.data(model.index(row, c)).toString().size();
    });
    // Last, in a child with a connection of its own (a TLS session cannot be shared).
    conn.close();
    PQfinish(raw);
    const double peak = bench::peakMemoryMb([&] {
        db::Connection own;
        own.open(p);
        throughModel(own);
    });
    bench::report("grid_load_100000x10_libpq", bare, "ms");
    bench::report("grid_load_100000x10_model", layer, "ms");
    bench::report("grid_load_100000x10_every_cell_displayed", fullScan, "ms");
    bench::report("grid_load_peak_memory", peak, "MB");
    bench::report("grid_load_ratio_vs_libpq", layer / bare, "x (reference 1.3)");
    return 0;
}
