// The report templates as the build generates them: each is a workbook with the cells its
// callers write, and the description format refuses what it cannot build.

#include <QDir>

#include "fixtures.h"
#include "ooxml/workbook.h"
#include "query.h"
#include "report_test_env.h"
#include "xlt_description.h"

namespace {

class TemplatesTest : public reports_test::ReportTest {};

// Every template a sys_report row of school_001 names has a cell for each of the row's
// parameters, "CURRENT_DATE", and its data block on the sheet "Data".
TEST_F(TemplatesTest, StoredReportTemplatesHaveTheCellsTheProtocolWrites) {
    auto rows = openQuery(QStringLiteral("select report_id, template, params from sys_report where template is not null"));
    for (rows->first(); !rows->eof(); rows->next()) {
        const QString name = rows->field(QStringLiteral("template")).asString();
        SCOPED_TRACE(name.toStdString());
        const QString file = xltFile(QFileInfo(name).completeBaseName() + QStringLiteral(".xlsx"));
        ASSERT_TRUE(QFileInfo::exists(file));
        const auto book = ooxml::Workbook::openTemplate(file.toStdString());
        EXPECT_TRUE(book.hasName("CURRENT_DATE"));
        EXPECT_TRUE(book.hasName("Name_org"));
        EXPECT_TRUE(book.hasName("DataBeg"));
        EXPECT_EQ(book.dataBlockOrigin().sheet, "Data");
        const int id = int(rows->field(QStringLiteral("report_id")).asInteger());
        if (id == 8 || id == 9 || id == 12) {  // the pay-list prints write these instead of parameters
            for (const char* cell : {"CORPUS_NAME", "ON_DATE", "DOC_NO"}) EXPECT_TRUE(book.hasName(cell)) << cell;
            continue;
        }
        for (const QString& line : rows->field(QStringLiteral("params")).asString().split(u'\n', Qt::SkipEmptyParts))
            EXPECT_TRUE(book.hasName(line.section(u'=', 0, 0).trimmed().toStdString())) << line.toStdString();
    }
}

TEST_F(TemplatesTest, ExportTemplatesOfTheListsExist) {
    for (const char* name : {"dorvpupillistondate", "dorvpupildebt", "dorvpupillist_short", "dorv_contracts", "payreport_v2"}) {
        SCOPED_TRACE(name);
        const auto book = ooxml::Workbook::openTemplate(xltFile(QString::fromUtf8(name) + QStringLiteral(".xlsx")).toStdString());
        EXPECT_TRUE(book.hasName("Name_org"));
        EXPECT_TRUE(book.hasName("DataBeg"));
    }
}

TEST_F(TemplatesTest, DescriptionsWithMistakesAreRefusedWithTheirLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"title \"x\"\n", "no columns"},
        {"column 5 int - \"a\"\nfrobnicate 1\n", "t:2: unknown directive \"frobnicate\""},
        {"column 5 percent - \"a\"\n", "t:1: unknown format \"percent\""},
        {"column 0 int - \"a\"\n", "t:1: a positive number expected"},
        {"column 5 int - \"a\n", "t:1: unclosed quote"},
        {"param DataBeg \"x\"\ncolumn 5 int - \"a\"\n", "DataBeg is not a parameter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            xlt::parseDescription(c.text, "t");
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST_F(TemplatesTest, LinesShowParameterCellsThroughFormulas) {
    makeTemplate(QStringLiteral("lines"), QStringLiteral(
        "title \"Отчет\"\nline \"Месяц: {month_id}.{year_id}\"\nparam year_id \"Год\"\nparam month_id \"Месяц\"\n"
        "column 5 int sum \"a\"\nfooter \"Итог \\\"{year_id}\\\"\"\n"));
    const std::string sheet = ooxml::test::readPart(xltFile(QStringLiteral("lines.xlsx")).toStdString(),
                                                    "xl/worksheets/sheet2.xml");
    EXPECT_NE(sheet.find("\"Месяц: \"&amp;Parametrs!$B$3&amp;\".\"&amp;Parametrs!$B$2"), std::string::npos);
    EXPECT_NE(sheet.find("SUM(A5:A5)"), std::string::npos);
    EXPECT_NE(sheet.find("\"Итог \"\"\"&amp;Parametrs!$B$2&amp;\"\"\"\""), std::string::npos);
}

}  // namespace
