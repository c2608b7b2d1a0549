// The settings file and the connection routines of the login.

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "abort.h"
#include "connection.h"
#include "main_test_env.h"
#include "net_f.h"
#include "pg_connect.h"

namespace {

using testsupport::cluster;

class SettingsFileTest : public MainProgramTest {};

TEST_F(SettingsFileTest, KeysAreWrittenOneByOneAndReadBackUnchanged) {
    const QString file = pg_connect::settings_file_name();
    EXPECT_EQ(QFileInfo(file).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
    folder.writeFile(QFileInfo(file).fileName(), "[security]\r\ncertpath=C:\\certs\\\r\n");

    pg_connect::write_ini_file(file, QStringLiteral("user_data"), QStringLiteral("last_user"), QStringLiteral("school_001"));
    pg_connect::write_ini_file(file, QStringLiteral("user_data"), QStringLiteral("passwd"), QStringLiteral("a=b;c \"d\""));
    pg_connect::write_ini_file(file, QStringLiteral("user_data"), QStringLiteral("last_user"), QStringLiteral("school_002"));

    EXPECT_EQ(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("last_user")), QStringLiteral("school_002"));
    EXPECT_EQ(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("passwd")), QStringLiteral("a=b;c \"d\""));
    EXPECT_EQ(pg_connect::read_ini_file(QStringLiteral("security"), QStringLiteral("certpath")), QStringLiteral("C:\\certs\\"))
        << "other sections stay as they were";
    EXPECT_TRUE(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("port")).isEmpty());
    EXPECT_TRUE(pg_connect::read_ini_file(QStringLiteral("nothing"), QStringLiteral("here")).isEmpty());

    const QFileDevice::Permissions perms = QFile::permissions(file);
    EXPECT_TRUE(perms & QFileDevice::WriteOwner);
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup |
                          QFileDevice::WriteOther));
    EXPECT_TRUE(messages->shown().isEmpty());
}

TEST_F(SettingsFileTest, MissingFileReadsAsEmpty) {
    EXPECT_FALSE(QFile::exists(pg_connect::settings_file_name()));
    EXPECT_TRUE(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("last_user")).isEmpty());
}

TEST_F(SettingsFileTest, UnwritableFileShowsTheMessageAndAbortsSilently) {
    const QString file = pg_connect::settings_file_name();
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_THROW(pg_connect::write_ini_file(file, QStringLiteral("user_data"), QStringLiteral("port"), QStringLiteral("5432")),
                 api::Abort);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().first().text.contains(QStringLiteral("\rОписание ошибки: ")));
    EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Error);
}

// The certificate folder of the settings file names the files of the login trying now.
TEST_F(SettingsFileTest, ConnectionUsesTheCertificateFolderAndTheCurrentLogin) {
    const QString certs = folder.file(QStringLiteral("certs"));
    QDir().mkpath(certs);
    for (const char* ext : {".crt", ".key"}) {
        const QString name = QStringLiteral("school_001") + QLatin1String(ext);
        QFile::copy(folder.file(name), certs + u'/' + name);
        QFile::setPermissions(certs + u'/' + name, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    folder.writeFile(QFileInfo(pg_connect::settings_file_name()).fileName(),
                     QStringLiteral("[security]\r\ncertpath=%1/\r\n").arg(certs).toUtf8());
    db::Connection connection;

    // a login without certificate files fails, naming its own files
    pg_connect::connect(connection, QStringLiteral("school_002"), testsupport::passwordOf(QStringLiteral("school_002")),
                        cluster().host, cluster().port, cluster().database);
    EXPECT_FALSE(pg_connect::state_connection(connection));
    EXPECT_FALSE(pg_connect::connect_error.isEmpty());
    EXPECT_EQ(connection.profile().sslcert, certs + QStringLiteral("/school_002.crt"));

    pg_connect::connect(connection, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")),
                        cluster().host, cluster().port, cluster().database);
    EXPECT_TRUE(pg_connect::state_connection(connection)) << pg_connect::connect_error.toStdString();
    EXPECT_TRUE(pg_connect::connect_error.isEmpty());
    EXPECT_EQ(connection.profile().sslcert, certs + QStringLiteral("/school_001.crt"));
    EXPECT_EQ(connection.profile().sslkey, certs + QStringLiteral("/school_001.key"));

    // without the CA beside the certificates the server is not checked, the channel stays TLS
    EXPECT_EQ(connection.profile().sslmode, QStringLiteral("require"));
    QFile::copy(folder.file(QStringLiteral("root.crt")), certs + QStringLiteral("/root.crt"));
    pg_connect::connect(connection, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")),
                        cluster().host, cluster().port, cluster().database);
    EXPECT_TRUE(pg_connect::state_connection(connection)) << pg_connect::connect_error.toStdString();
    EXPECT_EQ(connection.profile().sslmode, QStringLiteral("verify-ca"));

    pg_connect::disconnect(connection);
    EXPECT_FALSE(pg_connect::state_connection(connection));
}

TEST_F(SettingsFileTest, CertificateFolderWithoutTheFilesRefusesTheConnection) {
    folder.writeFile(QFileInfo(pg_connect::settings_file_name()).fileName(), "[security]\r\ncertpath=nowhere/\r\n");
    db::Connection connection;
    pg_connect::connect(connection, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")),
                        cluster().host, cluster().port, cluster().database);
    EXPECT_FALSE(pg_connect::state_connection(connection));
    EXPECT_FALSE(pg_connect::connect_error.isEmpty());
}

TEST(NetworkAdapters, AddressesAreUpperCaseHexPairsJoinedByDashesAndCommas) {
    const QString addresses = GetMACAdress();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^(([0-9A-F]{2}-){5}[0-9A-F]{2}(, (?=.)|$))*$")).match(addresses).hasMatch())
        << addresses.toStdString();
}

}  // namespace
