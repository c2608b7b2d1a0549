// The update check: version comparison, the installer download and its failure.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProgressBar>

#include "abort.h"
#include "app_error.h"
#include "frm_main.h"
#include "http_test_server.h"
#include "main_test_env.h"
#include "unit_download_progress.h"
#include "version_check.h"

namespace {

TEST(VersionComparison, AnnouncedVersionIsNewerOnlyWhenGreaterAsText) {
    const struct {
        const char* announced;
        const char* local;
        bool newer;
    } cases[] = {
        {"2.0.0.400", "2.0.0.327", true},
        {"2.0.0.328", "2.0.0.327", true},
        {"2.0.0.327", "2.0.0.327", false},
        {"2.0.0.1000", "2.0.0.327", false},  // text, not numbers
        {"2.0.0.3270", "2.0.0.327", true},   // a proper prefix is the smaller
        {"2.0.0.32", "2.0.0.327", false},
        {"", "2.0.0.327", false},
        {"3", "2.0.0.327", true},
        {"10.0.0.0", "2.0.0.327", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(is_announced_version_newer(QString::fromLatin1(c.announced), QString::fromLatin1(c.local)), c.newer)
            << c.announced << " vs " << c.local;
}

QByteArray installerBytes() {
    QByteArray bytes;
    for (int i = 0; i < 300000; ++i) bytes.append(char(i * 7 % 251));
    return bytes;
}

class UpdateCheckTest : public MainProgramTest {
protected:
    UpdateCheckTest() { QDir(folder.path()).mkpath(QStringLiteral("updates")); }
};

TEST_F(UpdateCheckTest, ProgressWindowFollowsTheTransfer) {
    const QByteArray body = installerBytes();
    HttpTestServer server(body);
    Tfrm_download_alert alert;
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    alert.download(QUrl(server.url()), target);
    EXPECT_EQ(target.data(), body);
    EXPECT_EQ(alert.ProgressBar1->maximum(), body.size());
    EXPECT_EQ(alert.ProgressBar1->value(), body.size());
}

TEST_F(UpdateCheckTest, OutdatedProgramDownloadsAndStartsTheInstallerSilentlyThenEnds) {
    const QByteArray body = installerBytes();
    HttpTestServer server(body);
    AnnouncedVersion newer(QStringLiteral("2.0.0.400"), server.url());
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));
    bool ended = false;
    main.end_application = [&ended] { ended = true; };

    main.check_updates();

    QFile installer(Tmain_form::installer_file_name());
    ASSERT_TRUE(installer.open(QIODevice::ReadOnly));
    EXPECT_EQ(installer.readAll(), body);
    EXPECT_EQ(desktop->started, QStringList{Tmain_form::installer_file_name() + QStringLiteral(" /S")});
    EXPECT_TRUE(ended);
    EXPECT_TRUE(messages->shown().isEmpty()) << messages->texts().join(u'\n').toStdString();
}

TEST_F(UpdateCheckTest, CurrentOrOlderAnnouncementDownloadsNothing) {
    for (const QString& version : {QStringLiteral("2.0.0.327"), QStringLiteral("2.0.0.1000"), QString()}) {
        AnnouncedVersion announced(version);
        Tmain_form main;
        signIn(main, QStringLiteral("school_001"));
        bool ended = false;
        main.end_application = [&ended] { ended = true; };
        main.check_updates();
        EXPECT_TRUE(main.is_soft_updated());
        EXPECT_FALSE(ended);
        EXPECT_FALSE(QFile::exists(Tmain_form::installer_file_name()));
        EXPECT_TRUE(desktop->started.isEmpty());
    }
}

TEST_F(UpdateCheckTest, DownloadErrorIsShownLoggedAndTheProgramKeepsRunning) {
    HttpTestServer server(QByteArray(), 404);
    AnnouncedVersion newer(QStringLiteral("2.0.0.400"), server.url());
    Tmain_form main;
    signIn(main, QStringLiteral("school_001"));
    bool ended = false;
    main.end_application = [&ended] { ended = true; };
    const int logged = adminScalar(QStringLiteral(
        "select count(*) from admin.message_log where schema = 'school_001' and module_name = 'frm_main'")).toInt();

    EXPECT_THROW(main.check_updates(), api::Abort);

    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().first().text.startsWith(QStringLiteral("Во время загрузки обновления произошла ошибка ")));
    EXPECT_EQ(messages->shown().first().icon, api::MessageIcon::Error);
    EXPECT_FALSE(ended);
    EXPECT_TRUE(desktop->started.isEmpty());
    EXPECT_EQ(adminScalar(QStringLiteral("select count(*) from admin.message_log where schema = 'school_001' "
                                         "and module_name = 'frm_main'")).toInt(),
              logged + 1);

    // at show time the failure ends the check only; the next module click refuses
    messages->clear();
    main.FormShow();
    EXPECT_EQ(messages->shown().size(), 1);
    messages->clear();
    EXPECT_THROW(main.ref_propertyClick(), api::Abort);
    EXPECT_TRUE(messages->lastText().startsWith(QStringLiteral("Обнаружена устаревшая версия программы.")));
}

}  // namespace
