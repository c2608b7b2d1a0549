#pragma once
// What every report test stands on: a program folder of its own (XLT/ with the generated
// templates and any the test adds, doc/ for the results), school_001 signed in, a recording
// desktop and the scripted messages.

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "connection.h"
#include "query.h"
#include "desktop.h"
#include "ooxml/sheet_reader.h"
#include "scripted_messages.h"

namespace reports_test {

class ReportTest : public ::testing::Test {
protected:
    ReportTest();
    ~ReportTest() override;

    QString programDir() const { return folder_.path(); }
    QString xltFile(const QString& name) const { return folder_.path() + QStringLiteral("/XLT/") + name; }
    // Writes XLT/<name>.xlsx from a template description (the generator's text format).
    void makeTemplate(const QString& name, const QString& description);
    // Files in doc/.
    QStringList documents() const;

    // Runs f, expects api::AppError with a message containing `part` and no new file in doc/.
    void expectFailure(const std::function<void()>& f, const QString& part);

    // A query on the test's connection, opened.
    std::unique_ptr<db::Query> openQuery(const QString& sql);
    int scalar(const QString& sql);

    api::ScriptedMessages& messages() { return *messages_; }
    api::RecordingDesktop& desktop() { return *desktop_; }
    db::Connection& connection() { return *connection_; }

    // Both sheets of a produced workbook.
    static ooxml::SheetGrid sheet(const QString& path, const char* name);
    static std::string text(const ooxml::SheetGrid& grid, int row, int column);

private:
    QTemporaryDir folder_;
    std::unique_ptr<db::Connection> connection_;
    std::shared_ptr<api::ScriptedMessages> messages_;
    std::shared_ptr<api::RecordingDesktop> desktop_;
    std::shared_ptr<api::DesktopService> previousDesktop_;
    std::shared_ptr<api::MessageService> previousMessages_;
    QString previousProgramDir_;
};

}  // namespace reports_test
