// The school's day on the demo school (1,500 pupils, three years of pay lists):
//  - opening a class: the client's pay-list statement (get_pay_list of the statement
//    catalogue, sent as the client sends it) for the class of about 35 pupils of the last
//    pay list, next to a plain indexed select of the same lines of pay_list_sp;
//  - insert_pay_list for the school building on a date without a pay list (each run in a
//    transaction rolled back), next to a bare INSERT ... SELECT of the same lines into a
//    temporary copy of pay_list_sp (its columns, keys, checks and indexes; the foreign
//    keys cannot be copied to a temporary table, and it writes no WAL). The same insert
//    into pay_list_sp itself needs the owner's rights: insert_reference.sql beside this
//    file measures it, run by scripts/bench in the owner's session.
// Usage: bench_paylist "<libpq connection string of school_001>"

#include <libpq-fe.h>

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_connection.h"
#include "bench_support.h"
#include "named_sql.h"
#include "statement_catalogue.h"

namespace {

constexpr int kClassRuns = 31;
constexpr int kInsertRuns = 7;

struct Bound {
    std::string name;
    unsigned oid;  // 0: untyped text, as the client sends text and text dates
    std::string value;
};

PGresult* run(PGconn* conn, const std::string& sql, const std::vector<Bound>& params = {}) {
    std::vector<unsigned> types;
    std::vector<const char*> values;
    for (const Bound& p : params) {
        types.push_back(p.oid);
        values.push_back(p.value.c_str());
    }
    PGresult* r = PQexecParams(conn, sql.c_str(), int(params.size()), types.data(), values.data(), nullptr,
                               nullptr, 0);
    const ExecStatusType st = PQresultStatus(r);
    if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
        std::fprintf(stderr, "%s\n%s", sql.c_str(), PQerrorMessage(conn));
        std::exit(1);
    }
    return r;
}

void exec(PGconn* conn, const std::string& sql, const std::vector<Bound>& params = {}) {
    PQclear(run(conn, sql, params));
}

std::string scalar(PGconn* conn, const std::string& sql, const std::vector<Bound>& params = {}) {
    PGresult* r = run(conn, sql, params);
    std::string v = PQntuples(r) ? PQgetvalue(r, 0, 0) : "";
    PQclear(r);
    return v;
}

// A catalogue statement with its named parameters turned into $n, bound by name.
struct ClientStatement {
    std::string sql;
    std::vector<std::string> names;

    explicit ClientStatement(const QString& routine) {
        for (const CatalogueStatement& s : loadCatalogue(QStringLiteral(DORV_STATEMENTS_DIR))) {
            if (s.name != routine) continue;
            const db::NamedSql parsed = db::parseNamedSql(s.sql);
            sql = parsed.text.toStdString();
            for (const QString& n : parsed.names) names.push_back(n.toLower().toStdString());
            return;
        }
        std::fprintf(stderr, "statement %s not in the catalogue\n", qPrintable(routine));
        std::exit(1);
    }

    std::vector<Bound> bind(const std::vector<Bound>& byName) const {
        std::vector<Bound> out;
        for (const std::string& n : names)
            for (const Bound& b : byName)
                if (b.name == n) out.push_back(b);
        if (out.size() != names.size()) {
            std::fprintf(stderr, "unbound parameter in %s\n", sql.c_str());
            std::exit(1);
        }
        return out;
    }
};

int rowsOf(PGconn* conn, const std::string& sql, const std::vector<Bound>& params) {
    PGresult* r = run(conn, sql, params);
    const int n = PQntuples(r);
    PQclear(r);
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PGconn* conn = bench::connectOrExit(argc, argv, "<conninfo of school_001>");

    // ---------------------------------------------------------------- opening a class
    // the class of about 35 pupils in the school building's last pay list up to today
    PGresult* k = run(conn,
        "select to_char(p.entry_date, 'dd.mm.yyyy'), s.paralel, s.class, p.corpus, p.doc_no, count(*) "
        "from pay_list p join pay_list_sp s on s.doc_no = p.doc_no "
        "where p.corpus = 1 and p.entry_date = (select max(entry_date) from pay_list "
        "                                       where corpus = 1 and entry_date <= current_date) "
        "group by 1, 2, 3, 4, 5 order by abs(count(*) - 35), 3 limit 1");
    if (PQntuples(k) != 1) {
        std::fprintf(stderr, "no pay list of building 1: load the demo history (pgcluster --demo)\n");
        return 1;
    }
    const std::vector<Bound> classParams = {
        {"on_date", 0, PQgetvalue(k, 0, 0)}, {"paralel_id", 23, PQgetvalue(k, 0, 1)},
        {"class_id", 23, PQgetvalue(k, 0, 2)}, {"corpus_id", 23, PQgetvalue(k, 0, 3)}};
    const std::vector<Bound> linesParams = {{"doc_no", 23, PQgetvalue(k, 0, 4)}, {"class", 23, PQgetvalue(k, 0, 2)}};
    const int classSize = std::atoi(PQgetvalue(k, 0, 5));
    PQclear(k);

    const ClientStatement classOpen(QStringLiteral("get_pay_list"));
    const std::vector<Bound> bound = classOpen.bind(classParams);
    const std::string indexedSelect = "select * from pay_list_sp where doc_no = $1 and class = $2";
    if (rowsOf(conn, classOpen.sql, bound) != classSize) {
        std::fprintf(stderr, "the class statement did not return the %d lines of the class\n", classSize);
        return 1;
    }
    for (int i = 0; i < 3; ++i) {  // warm the caches
        rowsOf(conn, classOpen.sql, bound);
        rowsOf(conn, indexedSelect, linesParams);
    }
    const double classMs = bench::medianMs(kClassRuns, [&] { rowsOf(conn, classOpen.sql, bound); });
    const double selectMs = bench::medianMs(kClassRuns, [&] { rowsOf(conn, indexedSelect, linesParams); });

    // ---------------------------------------------------------------- insert_pay_list
    const std::string freeDate = scalar(conn,
        "select to_char(d, 'dd.mm.yyyy') from generate_series(current_date + 1, current_date + 366, interval '1 day') d "
        "where extract(isodow from d) = 1 and not exists (select 1 from pay_list where corpus = 1 and entry_date = d) "
        "order by d limit 1");
    const ClientStatement create(QStringLiteral("create_pay_list"));
    const std::vector<Bound> createParams = create.bind({{"on_date", 0, freeDate}, {"corpus_id", 23, "1"}});

    // the lines insert_pay_list makes, kept for the bare INSERT ... SELECT
    exec(conn, "begin");
    exec(conn, create.sql, createParams);
    const std::string lines = scalar(conn,
        "select array_agg(s) from pay_list_sp s join pay_list p on p.doc_no = s.doc_no "
        "where p.corpus = 1 and p.entry_date = $1", {{"on_date", 0, freeDate}});
    exec(conn, "rollback");
    exec(conn, "create temporary table bench_lines as select (unnest(cast($1 as pay_list_sp[]))).*", {{"l", 0, lines}});
    exec(conn, "create temporary table bench_target (like pay_list_sp including all)");
    const int lineCount = std::atoi(scalar(conn, "select count(*) from bench_lines").c_str());

    const auto inTransaction = [&](const std::string& sql, const std::vector<Bound>& params) {
        exec(conn, "begin");
        const double ms = bench::medianMs(1, [&] { exec(conn, sql, params); });
        exec(conn, "rollback");
        return ms;
    };
    const std::string bareInsert = "insert into bench_target select * from bench_lines";
    inTransaction(create.sql, createParams);  // warm
    inTransaction(bareInsert, {});
    std::vector<double> insertTimes, bareTimes;
    for (int i = 0; i < kInsertRuns; ++i) {
        insertTimes.push_back(inTransaction(create.sql, createParams));
        bareTimes.push_back(inTransaction(bareInsert, {}));
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double insertMs = median(insertTimes), bareMs = median(bareTimes);
    PQfinish(conn);

    std::fprintf(stderr, "class of %d pupils on %s; insert_pay_list of %d lines on %s\n", classSize,
                classParams[0].value.c_str(), lineCount, freeDate.c_str());
    bench::report("paylist_class_open_median", classMs, "ms");
    bench::report("paylist_indexed_select_median", selectMs, "ms");
    bench::report("insert_pay_list_1500", insertMs, "ms");
    bench::report("insert_select_1500", bareMs, "ms");
    bench::report("paylist_class_open_ratio_vs_indexed_select", classMs / selectMs, "x");
    bench::report("insert_pay_list_ratio_vs_insert_select", insertMs / bareMs, "x (reference 3; the bare insert goes into a temporary table: no WAL, no foreign keys)");
    return 0;
}
