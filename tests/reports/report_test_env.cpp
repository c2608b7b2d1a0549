#include "report_test_env.h"

#include <QDir>
#include <QFile>

#include "app_error.h"
#include "query.h"
#include "session.h"
#include "test_cluster.h"
#include "xlt_description.h"

namespace reports_test {

ReportTest::ReportTest()
    : messages_(std::make_shared<api::ScriptedMessages>()), desktop_(std::make_shared<api::RecordingDesktop>()) {
    QDir(folder_.path()).mkpath(QStringLiteral("XLT"));
    QDir(folder_.path()).mkpath(QStringLiteral("doc"));
    const QDir generated(QStringLiteral(DORV_PROGRAM_DIR "/XLT"));
    for (const QString& file : generated.entryList({QStringLiteral("*.xlsx")}, QDir::Files))
        QFile::copy(generated.filePath(file), xltFile(file));
    previousProgramDir_ = api::programDir();
    api::setProgramDir(folder_.path());
    connection_ = testsupport::connectAs(QStringLiteral("school_001"));
    api::setConnection(connection_.get());
    previousMessages_ = api::setMessageService(messages_);
    previousDesktop_ = api::setDesktopService(desktop_);
}

ReportTest::~ReportTest() {
    // REPORTS_TEST_KEEP=<folder> keeps the produced workbooks, to look at them.
    const QString keep = qEnvironmentVariable("REPORTS_TEST_KEEP");
    if (!keep.isEmpty() && QDir().mkpath(keep))
        for (const QString& file : documents())
            QFile::copy(folder_.path() + QStringLiteral("/doc/") + file, keep + u'/' + file);
    api::setDesktopService(previousDesktop_);
    api::setMessageService(previousMessages_);
    api::setConnection(nullptr);
    api::setProgramDir(previousProgramDir_);
    QFile::setPermissions(folder_.path() + QStringLiteral("/doc"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void ReportTest::makeTemplate(const QString& name, const QString& description) {
    const auto parsed = xlt::parseDescription(description.toStdString(), name.toStdString());
    xlt::writeTemplate(parsed, xltFile(name + QStringLiteral(".xlsx")).toStdString());
}

QStringList ReportTest::documents() const {
    return QDir(folder_.path() + QStringLiteral("/doc")).entryList(QDir::Files | QDir::Hidden);
}

void ReportTest::expectFailure(const std::function<void()>& f, const QString& part) {
    const QStringList before = documents();
    try {
        f();
        ADD_FAILURE() << "no error, expected: " << part.toStdString();
    } catch (const api::AppError& e) {
        EXPECT_TRUE(e.message().contains(part)) << e.message().toStdString();
    }
    EXPECT_EQ(documents(), before);
}

std::unique_ptr<db::Query> ReportTest::openQuery(const QString& sql) {
    auto q = std::make_unique<db::Query>(connection_.get());
    q->setSql(sql);
    q->open();
    return q;
}

int ReportTest::scalar(const QString& sql) { return int(openQuery(sql)->field(0).asInteger()); }

ooxml::SheetGrid ReportTest::sheet(const QString& path, const char* name) {
    return ooxml::readSheet(path.toStdString(), name);
}

std::string ReportTest::text(const ooxml::SheetGrid& grid, int row, int column) {
    return grid.sheetCell(row, column).text;
}

}  // namespace reports_test
