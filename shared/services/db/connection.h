#pragma once
// The one database connection of a process (libpq). Every statement commits by itself.

#include <QString>
#include <memory>

#include "api_export.h"

struct pg_conn;
typedef struct pg_conn PGconn;

namespace db {

struct ConnectionProfile {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;
    QString sslmode = QStringLiteral("require");
    QString sslcert;      // client certificate file
    QString sslkey;       // its private key
    QString sslrootcert;  // CA to check the server against (optional)
    int connectTimeoutSeconds = 10;
};

class API_EXPORT Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the connection (closing an open one first). Throws DbError when refused.
    void open(const ConnectionProfile& profile);
    void close();
    bool isOpen() const;

    // The user name the server knows the session by.
    QString user() const;
    QString database() const;
    QString host() const;
    const ConnectionProfile& profile() const { return profile_; }

    // Runs a statement without parameters (session set-up, tests). Throws DbError.
    void execute(const QString& sql);

    PGconn* handle() const { return conn_; }

    // Throws a DbError built from the connection's last error (connection-level failure).
    [[noreturn]] void throwConnectionError(const QString& context = {}) const;

private:
    PGconn* conn_ = nullptr;
    ConnectionProfile profile_;
};

}  // namespace db
