#include "connection.h"

#include <libpq-fe.h>

#include <QByteArray>
#include <vector>

#include "db_error.h"

namespace db {

Connection::Connection() = default;

Connection::~Connection() { close(); }

void Connection::open(const ConnectionProfile& profile) {
    close();
    profile_ = profile;
    std::vector<std::pair<QByteArray, QByteArray>> kv = {
        {"host", profile.host.toUtf8()},
        {"port", QByteArray::number(profile.port)},
        {"dbname", profile.database.toUtf8()},
        {"user", profile.user.toUtf8()},
        {"password", profile.password.toUtf8()},
        {"client_encoding", "UTF8"},
        {"options", "-c datestyle=ISO,DMY"},
        {"application_name", "dorv_main"},
        {"connect_timeout", QByteArray::number(profile.connectTimeoutSeconds)},
        {"sslmode", profile.sslmode.toUtf8()},
        {"sslcert", profile.sslcert.toUtf8()},
        {"sslkey", profile.sslkey.toUtf8()},
    };
    if (!profile.sslrootcert.isEmpty()) kv.push_back({"sslrootcert", profile.sslrootcert.toUtf8()});
    std::vector<const char*> keys, values;
    for (auto& [k, v] : kv) {
        keys.push_back(k.constData());
        values.push_back(v.constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    conn_ = PQconnectdbParams(keys.data(), values.data(), 0);
    if (PQstatus(conn_) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
        PQfinish(conn_);
        conn_ = nullptr;
        throw DbError(message, QStringLiteral("08001"));
    }
}

void Connection::close() {
    if (conn_) {
        PQfinish(conn_);
        conn_ = nullptr;
    }
}

bool Connection::isOpen() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

QString Connection::user() const { return conn_ ? QString::fromUtf8(PQuser(conn_)) : QString(); }
QString Connection::database() const { return conn_ ? QString::fromUtf8(PQdb(conn_)) : QString(); }
QString Connection::host() const { return conn_ ? QString::fromUtf8(PQhost(conn_)) : QString(); }

void Connection::execute(const QString& sql) {
    if (!conn_) throwConnectionError();
    PGresult* r = PQexec(conn_, sql.toUtf8().constData());
    const auto status = PQresultStatus(r);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        PQclear(r);
        return;
    }
    const QString message = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(conn_));
    const QString state = r ? QString::fromUtf8(PQresultErrorField(r, PG_DIAG_SQLSTATE)) : QString();
    PQclear(r);
    throw DbError(message.trimmed(), state);
}

void Connection::throwConnectionError(const QString& context) const {
    QString message = conn_ ? QString::fromUtf8(PQerrorMessage(conn_)).trimmed() : QString();
    if (message.isEmpty()) message = QStringLiteral("Нет соединения с базой данных");
    if (!context.isEmpty()) message = context + u'\n' + message;
    throw DbError(message, QStringLiteral("08003"));
}

}  // namespace db
