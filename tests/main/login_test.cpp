// Signing in: the server list, the certificate checks, the stored profile, the caption and
// status bar, the session journal.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "abort.h"
#include "app_error.h"
#include "frm_main.h"
#include "login.h"
#include "main_test_env.h"
#include "pg_connect.h"
#include "session.h"

namespace {

using testsupport::cluster;

void fill(Tfrm_login& login, const QString& user, const QString& password) {
    login.ed_port->setText(QString::number(cluster().port));
    login.ed_database->setText(cluster().database);
    login.ed_login->setText(user);
    login.ed_passwd->setText(password);
}

int sessionRows(const QString& user) {
    return adminScalar(QStringLiteral("select count(*) from admin.session_log where schema_name = '%1'").arg(user)).toInt();
}

class LoginTest : public MainProgramTest {};

TEST_F(LoginTest, SignsInThroughTheSecondOfThreeServers) {
    folder.writeServers({QStringLiteral("127.0.0.2"), cluster().host, QStringLiteral("127.0.0.3")});
    Tmain_form main;
    Tfrm_login login(&main);
    login.FormShow();
    EXPECT_EQ(login.ed_server->text(), QStringLiteral("127.0.0.2"));
    fill(login, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")));

    login.btn_connectClick();

    EXPECT_TRUE(main.connection.isOpen());
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_FALSE(login.endsProcess());
    EXPECT_TRUE(messages->shown().isEmpty()) << messages->texts().join(u'\n').toStdString();
    EXPECT_EQ(login.ed_server->text(), cluster().host);
    EXPECT_EQ(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("server")), cluster().host);
    EXPECT_EQ(main.statusText(), QStringLiteral("Соединение с базой данных ") + cluster().database +
                                     QStringLiteral(" на хосте ") + cluster().host +
                                     QStringLiteral(" успешно установлено"));
    const QString captionStart = QStringLiteral("( school_001 )  АРМ Тавлина  %1 %2 версия 2.0.0.327 от ")
                                     .arg(cluster().database)
                                     .arg(cluster().port);
    EXPECT_TRUE(main.windowTitle().startsWith(captionStart)) << main.windowTitle().toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("от \\d\\d\\.\\d\\d\\.\\d{4}$")).match(main.windowTitle()).hasMatch());
    EXPECT_EQ(api::applicationTitle(), main.windowTitle());
}

TEST_F(LoginTest, NoServerAnsweringShowsTheLastServersErrorAndKeepsTheWindow) {
    folder.writeServers({QStringLiteral("127.0.0.2"), QStringLiteral("127.0.0.3")});
    Tmain_form main;
    Tfrm_login login(&main);
    login.FormShow();
    fill(login, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")));

    EXPECT_THROW(login.btn_connectClick(), api::Abort);

    EXPECT_FALSE(main.connection.isOpen());
    EXPECT_NE(login.result(), QDialog::Accepted);
    ASSERT_EQ(messages->shown().size(), 1);
    const auto& shown = messages->shown().first();
    EXPECT_EQ(shown.icon, api::MessageIcon::Error);
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral(
        "Не удалось соедениться со списком серверов, проверьте подключение к сети Internet. Описание ошибки: ?")));
    EXPECT_TRUE(shown.text.contains(QStringLiteral("127.0.0.3"))) << shown.text.toStdString();
    EXPECT_FALSE(shown.text.contains(QStringLiteral("127.0.0.2"))) << "the first server's error is discarded";
    EXPECT_EQ(login.ed_server->text(), QStringLiteral("127.0.0.3"));
    EXPECT_FALSE(QFile::exists(login.file_name));
}

TEST_F(LoginTest, MissingCertificateOrKeyIsRefusedBeforeAnyConnection) {
    struct Case {
        QString missing;
        QString message;
    };
    const Case cases[] = {
        {QStringLiteral("school_001.crt"),
         QStringLiteral("Отсутствует файл сертификата. Установите school_001.crt и повторите попытку соединения с базой данных. ")},
        {QStringLiteral("school_001.key"),
         QStringLiteral("Отсутствует файл сертификата. Установите school_001.key и повторите попытку соединения с базой данных. ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing.toStdString());
        const QString file = folder.file(c.missing);
        const QString aside = file + QStringLiteral(".aside");
        ASSERT_TRUE(QFile::rename(file, aside));
        messages->clear();
        Tmain_form main;
        Tfrm_login login(&main);
        login.FormShow();
        fill(login, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")));

        EXPECT_THROW(login.btn_connectClick(), api::Abort);

        ASSERT_EQ(messages->shown().size(), 1);
        EXPECT_EQ(messages->shown().first().text, c.message);
        EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Warning);
        EXPECT_FALSE(main.connection.isOpen());
        EXPECT_EQ(login.ed_server->text(), cluster().host) << "no server was tried";
        ASSERT_TRUE(QFile::rename(aside, file));
    }
}

TEST_F(LoginTest, EnterInAnyFieldSignsIn) {
    for (const char* name : {"ed_server", "ed_port", "ed_database", "ed_login", "ed_passwd"}) {
        SCOPED_TRACE(name);
        Tmain_form main;
        Tfrm_login login(&main);
        login.FormShow();
        fill(login, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")));
        QTest::keyClick(login.findChild<QLineEdit*>(QString::fromLatin1(name)), Qt::Key_Return);
        EXPECT_TRUE(main.connection.isOpen()) << messages->texts().join(u'\n').toStdString();
        EXPECT_EQ(login.result(), QDialog::Accepted);
    }
}

TEST_F(LoginTest, PortThatIsNotANumberReachesTheErrorHandlerBeforeAnyAttempt) {
    Tmain_form main;
    Tfrm_login login(&main);
    login.show();  // FormShow through the show event
    fill(login, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")));
    login.ed_port->setText(QStringLiteral("54x32"));
    pg_connect::connect_error = QStringLiteral("untouched");

    QTest::mouseClick(login.btn_connect, Qt::LeftButton);

    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().first().text.contains(QStringLiteral("54x32")));
    EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Error);
    EXPECT_EQ(pg_connect::connect_error, QStringLiteral("untouched"));
    EXPECT_FALSE(main.connection.isOpen());
    EXPECT_TRUE(login.isVisible());
    login.hide();
}

TEST_F(LoginTest, UnwritableSettingsFileShowsTheMessageAndNothingElse) {
    Tmain_form main;
    Tfrm_login login(&main);
    login.FormShow();
    fill(login, QStringLiteral("school_001"), testsupport::passwordOf(QStringLiteral("school_001")));
    ASSERT_TRUE(QDir().mkpath(login.file_name));  // a folder where the file should be
    const int before = sessionRows(QStringLiteral("school_001"));

    EXPECT_THROW(login.btn_connectClick(), api::Abort);

    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().first().text.startsWith(QStringLiteral(
        "Не удалось записать изменения в файл настроек, сообщите системному администратору об этой проблеме, "
        "скорее всего, проблему удастся решить, разрешив запись в каталог программы.\rОписание ошибки: ")));
    EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Error);
    EXPECT_TRUE(main.connection.isOpen()) << "the connection stays open";
    EXPECT_NE(login.result(), QDialog::Accepted);
    EXPECT_TRUE(main.statusText().isEmpty());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("main_form"));
    EXPECT_EQ(sessionRows(QStringLiteral("school_001")), before);
    EXPECT_TRUE(QFileInfo(login.file_name).isDir()) << "nothing half-written in its place";
}

TEST_F(LoginTest, EmptyOrMissingServerListIsReportedAndNothingIsTried) {
    struct Case {
        const char* what;
        bool present;
        QString expected;
    };
    const Case cases[] = {
        {"empty", true, QStringLiteral("Список серверов в файле servers.txt пуст")},
        {"missing", false, QStringLiteral("Не удалось открыть файл ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(folder.file(QStringLiteral("servers.txt")));
        if (c.present) folder.writeFile(QStringLiteral("servers.txt"), QByteArray());
        folder.writeFile(QStringLiteral("main_program_tests.ini"), "[user_data]\r\nlast_user=school_001\r\nport=5432\r\n");
        messages->clear();
        Tmain_form main;
        Tfrm_login login(&main);
        try {
            login.FormShow();
            ADD_FAILURE() << "the server list error is raised";
        } catch (const api::AppError& e) {
            EXPECT_TRUE(e.message().startsWith(c.expected)) << e.message().toStdString();
        }
        EXPECT_TRUE(login.ed_server->text().isEmpty());
        EXPECT_EQ(login.ed_login->text(), QStringLiteral("school_001")) << "the stored profile is still offered";

        EXPECT_THROW(login.btn_connectClick(), api::Abort);
        EXPECT_EQ(main.statusText(), QStringLiteral("Соединение с базой данных не установлено"));
        EXPECT_FALSE(main.connection.isOpen());
        EXPECT_TRUE(messages->shown().isEmpty());
    }
}

TEST_F(LoginTest, CloseEndsTheProcessAndTitleBarCloseOnlyWithoutConnection) {
    {
        Tmain_form main;
        Tfrm_login login(&main);
        login.btn_closeClick();
        EXPECT_TRUE(login.endsProcess());
    }
    {
        Tmain_form main;
        Tfrm_login login(&main);
        login.show();
        login.close();
        EXPECT_TRUE(login.endsProcess());
    }
}

TEST_F(LoginTest, SessionJournalGetsOneRowPerSchoolSignInAndNoneForServiceAccounts) {
    const struct {
        QString login;
        int rows;
    } cases[] = {{QStringLiteral("school_001"), 1}, {QStringLiteral("dorv"), 0},
                 {QStringLiteral("dorv_technolog"), 0}, {QStringLiteral("admin"), 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.login.toStdString());
        testsupport::ProgramFolder own(c.login);
        api::setProgramDir(own.path());
        const int before = sessionRows(c.login);
        Tmain_form main;
        Tfrm_login login(&main);
        login.FormShow();
        fill(login, c.login, testsupport::passwordOf(c.login));
        login.btn_connectClick();
        ASSERT_TRUE(main.connection.isOpen());
        EXPECT_EQ(sessionRows(c.login), before + c.rows);
        if (c.rows) {
            const QString last = QStringLiteral(
                "select version || '|' || coalesce(mac_addr, '') from admin.session_log where schema_name = '%1' "
                "order by id desc limit 1").arg(c.login);
            const QStringList row = adminScalar(last).split(u'|');
            EXPECT_EQ(row.value(0), QStringLiteral("2.0.0.327"));
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^(([0-9A-F]{2}-){5}[0-9A-F]{2}(, |$))*$"))
                            .match(row.value(1)).hasMatch()) << row.value(1).toStdString();
        }
    }
    api::setProgramDir(folder.path());
}

// A login whose password begins and ends with blanks: only the untrimmed text opens the
// connection, and only the trimmed one is stored.
class PaddedPasswordTest : public MainProgramTest {
protected:
    PaddedPasswordTest() : MainProgramTest(QStringLiteral("school_002")) {
        testsupport::superuserExec(QStringLiteral("alter role school_002 password '  school_002 padded  '"));
    }
    ~PaddedPasswordTest() override {
        testsupport::superuserExec(
            QStringLiteral("alter role school_002 password '%1'").arg(testsupport::passwordOf(QStringLiteral("school_002"))));
    }
};

TEST_F(PaddedPasswordTest, UsesThePasswordAsTypedStoresItTrimmedAndOffersItAtTheNextStart) {
    folder.writeServers({QStringLiteral("127.0.0.2"), cluster().host});
    {
        Tmain_form main;
        Tfrm_login login(&main);
        login.FormShow();
        fill(login, QStringLiteral("school_002"), QStringLiteral("  school_002 padded  "));
        login.btn_connectClick();
        ASSERT_TRUE(main.connection.isOpen()) << messages->texts().join(u'\n').toStdString();
    }
    const QFileDevice::Permissions perms = QFile::permissions(pg_connect::settings_file_name());
    EXPECT_TRUE(perms & QFileDevice::ReadOwner);
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                          QFileDevice::WriteOther)) << "readable by its owner only";

    Tmain_form main;
    Tfrm_login next(&main);
    next.FormShow();
    EXPECT_EQ(next.ed_server->text(), QStringLiteral("127.0.0.2")) << "the server field starts with the first line";
    EXPECT_EQ(next.ed_port->text(), QString::number(cluster().port));
    EXPECT_EQ(next.ed_database->text(), cluster().database);
    EXPECT_EQ(next.ed_login->text(), QStringLiteral("school_002"));
    EXPECT_EQ(next.ed_passwd->text(), QStringLiteral("school_002 padded"));
    EXPECT_EQ(pg_connect::read_ini_file(QStringLiteral("user_data"), QStringLiteral("server")), cluster().host);

    // the stored (trimmed) password is not the role's: only the text as typed opened the connection
    messages->clear();
    EXPECT_THROW(next.btn_connectClick(), api::Abort);
    EXPECT_FALSE(main.connection.isOpen());
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Error);
}

}  // namespace
