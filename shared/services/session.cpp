#include "session.h"

#include <QCoreApplication>

#include "connection.h"
#include "db_error.h"

namespace api {

namespace {
db::Connection* g_connection = nullptr;
QString g_programDir;
QString g_title = QStringLiteral("АРМ \"Тавлина\"");
}  // namespace

db::Connection& connection() {
    if (!g_connection)
        throw db::DbError(QStringLiteral("Нет соединения с базой данных"), QStringLiteral("08003"));
    return *g_connection;
}

db::Connection* connectionOrNull() { return g_connection; }
void setConnection(db::Connection* connection) { g_connection = connection; }

QString userName() { return g_connection ? g_connection->user() : QString(); }

bool isServiceAccount(const QString& user) {
    return user == QLatin1String("dorv") || user == QLatin1String("dorv_technolog") ||
           user == QLatin1String("admin");
}

QString programDir() {
    if (!g_programDir.isEmpty()) return g_programDir;
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString(".");
}

void setProgramDir(const QString& dir) { g_programDir = dir; }

QString applicationTitle() { return g_title; }
void setApplicationTitle(const QString& title) { g_title = title; }

QString programVersion() { return QStringLiteral(DORV_PROGRAM_VERSION); }

}  // namespace api
