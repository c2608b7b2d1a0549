// Every stored report of school_001 that has a template builds its workbook over a month of
// pay lists, and the block holds exactly the rows of the report's statement.

#include <QDate>
#include <QFile>
#include <set>

#include "ooxml/workbook.h"
#include "query.h"
#include "report_test_env.h"
#include "reports/template_report.h"
#include "test_cluster.h"

namespace {

using api::TemplateReport;
using api::TemplateReportRequest;

QString fileText(const QString& name) {
    QFile file(QStringLiteral(REPORTS_TEST_DIR "/") + name);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

class StoredReportsTest : public reports_test::ReportTest {
protected:
    static void SetUpTestSuite() { testsupport::superuserExec(fileText(QStringLiteral("demo_month.sql"))); }
    static void TearDownTestSuite() { testsupport::superuserExec(fileText(QStringLiteral("demo_month_drop.sql"))); }

    // Rows the statement gives for the parameters (as the protocol binds them: text).
    int statementRows(const QString& sql, const api::NamedValues& presets) {
        db::Query q(&connection());
        q.setSql(sql);
        for (const QString& name : q.paramNames())
            for (const auto& [preset, value] : presets)
                if (preset.compare(name, Qt::CaseInsensitive) == 0) q.param(name).setText(value);
        q.open();
        return q.recordCount();
    }
    // Rows of the block: from DataBeg down to the first row whose first cell is empty.
    static int blockRows(const QString& path) {
        const auto origin = ooxml::Workbook::openTemplate(path.toStdString()).dataBlockOrigin();
        const auto grid = ooxml::readSheet(path.toStdString(), origin.sheet);
        int rows = 0;
        while (grid.sheetCell(origin.cell.row + rows, origin.cell.column).type != ooxml::CellType::Empty) ++rows;
        return rows;
    }
};

TEST_F(StoredReportsTest, EveryTemplatedReportFillsItsBlockForAMonth) {
    const QDate month = QDate::currentDate().addMonths(-1);
    const QString account = QString::number(scalar(QStringLiteral(
        "select min(s.account_id) from pay_list p join pay_list_sp s using (doc_no) where p.note = 'reports-test' and s.attr = 1")));
    auto reports = openQuery(QStringLiteral(
        "select report_id, template, sql_text from sys_report where template is not null and report_id < 9000 order by report_id"));
    ASSERT_GT(reports->recordCount(), 20);
    // Reports the demo month has data for, whatever the demo school's meal plans are.
    const std::set<int> mustHaveRows = {1, 8, 9, 10, 11, 36, 106};
    int built = 0;
    for (reports->first(); !reports->eof(); reports->next()) {
        const int id = int(reports->field(QStringLiteral("report_id")).asInteger());
        const bool kindergarten = reports->field(QStringLiteral("template")).asString().contains(QStringLiteral("chgard")) ||
                                  id == 12;
        const int corpus = kindergarten ? 2 : 1;
        SCOPED_TRACE(id);
        TemplateReportRequest r;
        r.reportId = id;
        r.presets = {{QStringLiteral("year_id"), month.toString(QStringLiteral("yyyy"))},
                     {QStringLiteral("month_id"), month.toString(QStringLiteral("MM"))},
                     {QStringLiteral("corpus_id"), QString::number(corpus)},
                     {QStringLiteral("invalid"), QStringLiteral("3")},
                     {QStringLiteral("corpus_note"), QStringLiteral("0")},
                     {QStringLiteral("account_id"), account}};
        r.cells = {{QStringLiteral("Organization_name"), QStringLiteral("Здание %1").arg(corpus)}};
        if (id == 8 || id == 9 || id == 12) {  // the pay-list prints, chosen through the building
            r.source = id == 12 ? TemplateReportRequest::Source::StaffPayList : TemplateReportRequest::Source::PupilsPayList;
            r.corpusId = corpus;
            r.presets = {{QStringLiteral("doc_no"), QString::number(scalar(QStringLiteral(
                "select min(doc_no) from pay_list where note = 'reports-test' and corpus = %1").arg(corpus)))}};
        }
        const int expected = statementRows(reports->field(QStringLiteral("sql_text")).asString(), r.presets);
        const QString path = TemplateReport::run(TemplateReport::mealbook(), r);
        EXPECT_EQ(blockRows(path), expected);
        if (mustHaveRows.count(id)) EXPECT_GT(expected, 0);
        ++built;
    }
    EXPECT_EQ(desktop().opened.size(), built);
}

}  // namespace
