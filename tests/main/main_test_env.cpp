#include "main_test_env.h"

#include <QDir>

#include "frm_main.h"
#include "messages.h"
#include "query.h"
#include "session.h"

MainProgramTest::MainProgramTest(const QString& login) : folder(login) {
    previousMessages_ = api::setMessageService(messages);
    previousDesktop_ = api::setDesktopService(desktop);
    previousDir_ = QDir::currentPath();
    api::setProgramDir(folder.path());
    QDir::setCurrent(folder.path());
}

MainProgramTest::~MainProgramTest() {
    api::setMessageService(previousMessages_);
    api::setDesktopService(previousDesktop_);
    QDir::setCurrent(previousDir_);
    api::setProgramDir(QString());
}

void MainProgramTest::signIn(Tmain_form& main, const QString& login) {
    main.connection.open(testsupport::profileFor(login));
}

QString adminScalar(const QString& sql) {
    auto admin = testsupport::connectAs(QStringLiteral("admin"));
    db::Query query(admin.get());
    query.setSql(sql);
    query.open();
    return query.recordCount() ? query.field(0).asString() : QString();
}

AnnouncedVersion::AnnouncedVersion(const QString& version, const QString& url) {
    testsupport::superuserExec(QStringLiteral("delete from public.version_info; "
                                              "insert into public.version_info (version, url) values ('%1', '%2')")
                                   .arg(version, url));
}

AnnouncedVersion::~AnnouncedVersion() { testsupport::superuserExec(QStringLiteral("delete from public.version_info")); }
