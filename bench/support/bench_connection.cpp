#include "bench_connection.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

db::ConnectionProfile profileFromConninfo(const char* conninfo) {
    db::ConnectionProfile p;
    PQconninfoOption* options = PQconninfoParse(conninfo, nullptr);
    for (PQconninfoOption* o = options; o && o->keyword; ++o) {
        const QString v = QString::fromUtf8(o->val ? o->val : "");
        const QByteArray k(o->keyword);
        if (k == "host") p.host = v;
        else if (k == "port") p.port = v.toInt();
        else if (k == "dbname") p.database = v;
        else if (k == "user") p.user = v;
        else if (k == "password") p.password = v;
        else if (k == "sslmode") p.sslmode = v;
        else if (k == "sslcert") p.sslcert = v;
        else if (k == "sslkey") p.sslkey = v;
        else if (k == "sslrootcert") p.sslrootcert = v;
    }
    PQconninfoFree(options);
    return p;
}

PGconn* connectOrExit(int argc, char** argv, const char* usage) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s %s\n", argv[0], usage);
        std::exit(2);
    }
    PGconn* conn = PQconnectdb(argv[1]);
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "%s", PQerrorMessage(conn));
        std::exit(1);
    }
    PQsetClientEncoding(conn, "UTF8");
    return conn;
}

}  // namespace bench
