// The dataset export into a template (xlTransmitDataset), the checks of the export buttons and
// the report window, read back from the produced workbooks.

#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <unistd.h>

#include "abort.h"
#include "app_error.h"
#include "dates.h"
#include "dialogs/db_lookup_combo.h"
#include "fixtures.h"
#include "query.h"
#include "registry.h"
#include "report_test_env.h"
#include "reports/Unit_frm_report.h"
#include "reports/dm_api_reports.h"
#include "reports/report_messages.h"
#include "widgets/db_grid.h"

namespace {

using api::Tapi_dm_reports;
using ooxml::CellType;
namespace msg = api::report_messages;

class DatasetExportTest : public reports_test::ReportTest {
protected:
    // A template as a person makes it: "Name_org" Parametrs!B2, "CURRENT_DATE" B3, "DataBeg"
    // Data!C5, a totals footer, a note beside the block at H5.
    void makeFixtureTemplate(const QString& name, const ooxml::test::TemplateShape& shape = {}) {
        ooxml::test::makeTemplate(xltFile(name).toStdString(), shape);
    }
    QString serverDate() { return api::toShortDate(openQuery(QStringLiteral("select current_date"))->field(0).asDate()); }
};

const char* kThreeByFour =
    "select * from (values (1, 'Иванов Пётр'::text, date '2023-02-01', timestamp '2023-02-01 14:30'),"
    " (2, null, date '2023-03-15', timestamp '2023-03-15 00:00'),"
    " (3, 'Ёлкина', null, null)) v(n, name, day, stamp) order by n";

TEST_F(DatasetExportTest, WritesEveryRowAndFieldAtDataBegWithTheirTypes) {
    makeFixtureTemplate(QStringLiteral("block.xlsx"));
    auto q = openQuery(QString::fromUtf8(kThreeByFour));
    const QString path = Tapi_dm_reports::xlTransmitDataset(q.get(), QStringLiteral("block.xlt"));

    EXPECT_EQ(desktop().opened, QStringList{path});
    EXPECT_EQ(QFileInfo(path).dir().absolutePath(), QDir(programDir() + QStringLiteral("/doc")).absolutePath());
    const auto data = sheet(path, "Data");
    // 3 records x 4 fields fill C5:F7: numbers and dates native, strings and date-times text.
    EXPECT_EQ(data.sheetCell(5, 3).type, CellType::Number);
    EXPECT_EQ(data.sheetCell(5, 3).number, 1);
    EXPECT_EQ(text(data, 5, 4), "Иванов Пётр");
    EXPECT_EQ(data.sheetCell(5, 5).type, CellType::Date);
    EXPECT_EQ(text(data, 5, 5), "01.02.2023");
    EXPECT_EQ(data.sheetCell(5, 6).type, CellType::Text);
    EXPECT_EQ(text(data, 5, 6), "01.02.2023 14:30:00");
    EXPECT_EQ(data.sheetCell(6, 4).type, CellType::Empty);  // null
    EXPECT_EQ(text(data, 6, 6), "15.03.2023");             // a date-time at midnight shows its date
    EXPECT_EQ(data.sheetCell(7, 3).number, 3);
    EXPECT_EQ(text(data, 7, 4), "Ёлкина");
    EXPECT_EQ(data.sheetCell(7, 5).type, CellType::Empty);
    EXPECT_EQ(data.sheetCell(5, 7).type, CellType::Empty);  // nothing beyond the fields
    EXPECT_EQ(text(data, 5, 8), "справа");                  // the template's own cells survive
    EXPECT_EQ(text(data, 8, 4), "Итого");                   // the footer right under the block

    const auto parameters = sheet(path, "Parametrs");
    EXPECT_EQ(text(parameters, 2, 2), "МУП «Комбинат школьного питания»");
    EXPECT_EQ(QString::fromStdString(text(parameters, 3, 2)), serverDate());
    EXPECT_EQ(q->recNo(), 0);
}

TEST_F(DatasetExportTest, TemplatesWithoutOptionalNamesStillExport) {
    struct Case {
        const char* what;
        ooxml::test::TemplateShape shape;
        int row, column;  // where the block starts
    };
    const Case cases[] = {
        {"no Name_org", {.nameOrg = false}, 5, 3},
        {"no DataBeg: A1 of Data", {.dataBeg = false, .totals = false}, 1, 1},
        {"Name_org on a sheet that does not exist", {.nameOrg = false, .extraName = "Name_org",
                                                     .extraReference = "=Missing!$B$2"}, 5, 3},
        {"a template (.xltx) file", {.xltx = true}, 5, 3},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QStringLiteral("variant%1").arg(++n);
        makeFixtureTemplate(name + QStringLiteral(".xlsx"), c.shape);
        auto q = openQuery(QString::fromUtf8(kThreeByFour));
        const QString path = Tapi_dm_reports::xlTransmitDataset(q.get(), name + QStringLiteral(".xlt"));
        const auto data = sheet(path, "Data");
        EXPECT_EQ(data.sheetCell(c.row, c.column).number, 1);
        EXPECT_EQ(text(data, c.row + 2, c.column + 1), "Ёлкина");
    }
}

TEST_F(DatasetExportTest, BadInputGivesAClearMessageAndLeavesNoFile) {
    makeFixtureTemplate(QStringLiteral("good.xlsx"));
    ooxml::test::writeFile(xltFile(QStringLiteral("notabook.xlsx")).toStdString(), "это не книга");
    auto q = openQuery(QString::fromUtf8(kThreeByFour));
    auto empty = openQuery(QStringLiteral("select 1 as n where false"));
    struct Case {
        const char* what;
        std::function<void()> run;
        QString message;
    };
    const std::vector<Case> cases = {
        {"no dataset", [&] { Tapi_dm_reports::xlTransmitDataset(nullptr, QStringLiteral("good.xlt")); }, msg::kNoData},
        {"no records", [&] { Tapi_dm_reports::xlTransmitDataset(empty.get(), QStringLiteral("good.xlt")); }, msg::kNoData},
        {"no template name", [&] { Tapi_dm_reports::xlTransmitDataset(q.get(), QStringLiteral(" ")); }, msg::kNoTemplate},
        {"missing template", [&] { Tapi_dm_reports::xlTransmitDataset(q.get(), QStringLiteral("nothere.xlt")); },
         QStringLiteral("Файл шаблона не найден: XLT/nothere.xlt")},
        {"not a workbook", [&] { Tapi_dm_reports::xlTransmitDataset(q.get(), QStringLiteral("notabook.xlt")); },
         QStringLiteral("Файл не является книгой Excel")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectFailure(c.run, c.message);
        EXPECT_TRUE(desktop().opened.isEmpty());
    }
}

TEST_F(DatasetExportTest, ADocFolderThatCannotBeWrittenFailsTheSaveAndLeavesNothing) {
    makeFixtureTemplate(QStringLiteral("good.xlsx"));
    auto q = openQuery(QString::fromUtf8(kThreeByFour));
    const QString doc = programDir() + QStringLiteral("/doc");
    if (geteuid() != 0) {  // permissions do not stop the superuser
        QFile::setPermissions(doc, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_THROW(Tapi_dm_reports::xlTransmitDataset(q.get(), QStringLiteral("good.xlt")), api::AppError);
        QFile::setPermissions(doc, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_TRUE(documents().isEmpty());
    }
    // A file where the folder should be.
    ASSERT_TRUE(QDir(doc).removeRecursively());
    ooxml::test::writeFile(doc.toStdString(), "");
    try {
        Tapi_dm_reports::xlTransmitDataset(q.get(), QStringLiteral("good.xlt"));
        ADD_FAILURE() << "saved into a file";
    } catch (const api::AppError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Не удалось сохранить файл"))) << e.message().toStdString();
    }
    EXPECT_TRUE(desktop().opened.isEmpty());
}

class ReportWindowTest : public DatasetExportTest {
protected:
    ReportWindowTest() {
        window_.reset(qobject_cast<api::Tfrm_report*>(api::createByClassName(QStringLiteral("tfrm_report"))));
        window_->z_ref_pay_agents->setConnection(&connection());
        window_->z_ref_pay_agents->setSql(QStringLiteral("select 1 as id, 'Почта России' as name"));
        window_->z_ref_pay_agents->open();
        window_->db_pay_agents->setQuery(window_->z_ref_pay_agents, QStringLiteral("id"), QStringLiteral("name"));
        window_->db_pay_agents->setKeyValue(1);
        window_->date_beg->setDate(QDate(2024, 3, 1));
        window_->date_end->setDate(QDate(2024, 3, 31));
        window_->z_report->setConnection(&connection());
    }
    void fillReport(int rows) {
        window_->z_report->setSql(QStringLiteral(
            "select date '2024-03-01' + g % 31 as entry_date, cast(g * 10.5 as numeric) as ammount "
            "from generate_series(1, %1) g order by g").arg(rows));
        window_->z_report->open();
        window_->z_report->last();
    }
    std::unique_ptr<api::Tfrm_report> window_;
};

TEST_F(ReportWindowTest, ExportButtonRefusesBeforeAnyTransfer) {
    struct Case {
        const char* what;
        bool spreadsheet;
        int rows;  // -1: z_report not opened
        QString message;
    };
    const Case cases[] = {
        {"no spreadsheet application", false, 3, msg::kNoSpreadsheet},
        {"no data fetched yet", true, -1, msg::kGetDataFirst},
        {"empty list", true, 0, msg::kEmptyList},
        {"more than 65500 rows", true, 65501, msg::kTooManyRows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desktop().spreadsheetApplication = c.spreadsheet;
        window_->z_report->close();
        if (c.rows >= 0) fillReport(c.rows);
        messages().clear();
        EXPECT_THROW(window_->SpeedButton1Click(), api::Abort);
        ASSERT_EQ(messages().shown().size(), 1);
        EXPECT_EQ(messages().lastText(), c.message);
        EXPECT_EQ(messages().shown().last().icon, api::MessageIcon::Warning);
        EXPECT_TRUE(documents().isEmpty());
        EXPECT_TRUE(desktop().opened.isEmpty());
    }
}

TEST_F(ReportWindowTest, ExportsAFullSheetOf65500RowsWithTheWindowsCells) {
    fillReport(65500);
    window_->SpeedButton1Click();
    EXPECT_TRUE(messages().shown().isEmpty());
    ASSERT_EQ(desktop().opened.size(), 1);
    EXPECT_TRUE(QFileInfo(desktop().opened[0]).fileName().startsWith(QStringLiteral("payreport_v2_")));
    const auto parameters = sheet(desktop().opened[0], "Parametrs");
    EXPECT_EQ(text(parameters, 4, 2), "Почта России");  // pay_agent
    EXPECT_EQ(text(parameters, 5, 2), "01.03.2024");    // beg_date
    EXPECT_EQ(text(parameters, 6, 2), "31.03.2024");    // end_date
    const auto data = sheet(desktop().opened[0], "Data");
    const int first = 7;  // DataBeg of payreport_v2
    EXPECT_EQ(text(data, first, 1), "02.03.2024");
    EXPECT_EQ(data.sheetCell(first + 65499, 2).number, 65500 * 10.5);
    EXPECT_EQ(text(data, first + 65500, 1), "Итого");  // the totals row right under the block
    // The grid is attached again and the first record is current.
    EXPECT_TRUE(window_->grid_report->updatesEnabled());
    EXPECT_EQ(window_->z_report->recNo(), 0);
}

}  // namespace
