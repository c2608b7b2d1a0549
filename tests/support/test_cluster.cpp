#include "test_cluster.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <stdexcept>

namespace testsupport {

const ClusterInfo& cluster() {
    static ClusterInfo info = [] {
        ClusterInfo c;
        c.dir = QStringLiteral(DORV_TEST_CLUSTER_DIR);
        QFile env(c.dir + QStringLiteral("/cluster.env"));
        if (!env.open(QIODevice::ReadOnly))
            throw std::runtime_error("the test cluster is not running (pgcluster fixture)");
        QTextStream in(&env);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            const qsizetype eq = line.indexOf(u'=');
            if (eq < 0) continue;
            const QString key = line.left(eq);
            QString value = line.mid(eq + 1);
            if (value.startsWith(u'"') || value.startsWith(u'\'')) value = value.mid(1, value.size() - 2);
            if (key == QLatin1String("PGPORT")) c.port = value.toInt();
            else if (key == QLatin1String("PGHOST")) c.host = value;
            else if (key == QLatin1String("DBNAME")) c.database = value;
            else if (key == QLatin1String("CERTDIR")) c.certDir = value;
        }
        if (c.host.isEmpty()) c.host = QStringLiteral("127.0.0.1");
        if (c.database.isEmpty()) c.database = QStringLiteral("dorv");
        if (c.certDir.isEmpty()) c.certDir = c.dir + QStringLiteral("/certs/clients");
        if (QFileInfo::exists(c.certDir + QStringLiteral("/clients")))
            c.certDir += QStringLiteral("/clients");
        return c;
    }();
    return info;
}

QString passwordOf(const QString& login) { return login + QStringLiteral("_demo"); }

db::ConnectionProfile profileFor(const QString& login) {
    const ClusterInfo& c = cluster();
    db::ConnectionProfile p;
    p.host = c.host;
    p.port = c.port;
    p.database = c.database;
    p.user = login;
    p.password = passwordOf(login);
    p.sslmode = QStringLiteral("verify-ca");
    p.sslrootcert = c.certDir + QStringLiteral("/root.crt");
    p.sslcert = c.certDir + u'/' + login + QStringLiteral(".crt");
    p.sslkey = c.certDir + u'/' + login + QStringLiteral(".key");
    return p;
}

std::unique_ptr<db::Connection> connectAs(const QString& login) {
    auto connection = std::make_unique<db::Connection>();
    connection->open(profileFor(login));
    return connection;
}

void superuserExec(const QString& sql) {
    const ClusterInfo& c = cluster();
    QProcess p;
    p.setProgram(QStringLiteral(DORV_SOURCE_DIR "/scripts/pgcluster"));
    p.setArguments({QStringLiteral("sql"), c.dir});
    p.start();
    p.write(sql.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error(("superuser SQL failed: " + p.readAllStandardError()).toStdString());
}

ProgramFolder::ProgramFolder(const QString& login) {
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    path_ = dir.path();
    QDir().mkpath(path_ + QStringLiteral("/lib/admin"));
    // The built plug-ins, linked so the folder behaves like an installed program.
    const QString built = QStringLiteral(DORV_PROGRAM_DIR "/lib");
    for (const QFileInfo& f : QDir(built).entryInfoList({QStringLiteral("*.so")}, QDir::Files))
        QFile::link(f.absoluteFilePath(), path_ + QStringLiteral("/lib/") + f.fileName());
    for (const QFileInfo& f : QDir(built + QStringLiteral("/admin")).entryInfoList({QStringLiteral("*.so")}, QDir::Files))
        QFile::link(f.absoluteFilePath(), path_ + QStringLiteral("/lib/admin/") + f.fileName());
    const ClusterInfo& c = cluster();
    for (const QString& ext : {QStringLiteral(".crt"), QStringLiteral(".key")}) {
        const QString target = path_ + u'/' + login + ext;
        QFile::copy(c.certDir + u'/' + login + ext, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    QFile::copy(c.certDir + QStringLiteral("/root.crt"), path_ + QStringLiteral("/root.crt"));
    writeServers({c.host});
}

ProgramFolder::~ProgramFolder() { QDir(path_).removeRecursively(); }

void ProgramFolder::writeServers(const QStringList& hosts) {
    writeFile(QStringLiteral("servers.txt"), hosts.join(u'\n').toUtf8());
}

void ProgramFolder::writeFile(const QString& name, const QByteArray& content) {
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + f.fileName().toStdString());
    f.write(content);
}

}  // namespace testsupport
