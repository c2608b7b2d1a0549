#pragma once
// The throwaway PostgreSQL cluster that the CTest fixture starts for the test run
// (scripts/pgcluster init <build>/testcluster <port>).

#include <QString>
#include <memory>

#include "connection.h"

namespace testsupport {

struct ClusterInfo {
    QString dir;        // the cluster folder
    QString host;       // 127.0.0.1
    int port = 0;
    QString database;   // dorv
    QString certDir;    // <dir>/certs/clients: <login>.crt, <login>.key, root.crt
};

// Reads <build>/testcluster/cluster.env; fails the test (throws) when the fixture did not run.
const ClusterInfo& cluster();

// The demo password of a login.
QString passwordOf(const QString& login);

// A profile for the login with its certificate and key.
db::ConnectionProfile profileFor(const QString& login);

// An open connection as that login (TLS, client certificate).
std::unique_ptr<db::Connection> connectAs(const QString& login);

// Runs SQL as the cluster's superuser over the local socket (fixtures, clean-up).
void superuserExec(const QString& sql);

// A folder that looks like the program folder: lib/ with the built plug-ins, servers.txt,
// certificates of the given login, an empty settings file. Removed with the object.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& login = QStringLiteral("school_001"));
    ~ProgramFolder();
    QString path() const { return path_; }
    QString file(const QString& name) const { return path_ + u'/' + name; }
    void writeServers(const QStringList& hosts);
    void writeFile(const QString& name, const QByteArray& content);
private:
    QString path_;
};

}  // namespace testsupport
