// The template report protocol run against stored reports of school_001 made for the test:
// parameters and their dialog, named cells, the data block, the report without a template,
// the account check, and every way a run fails.

#include <QApplication>
#include <QTimer>

#include "abort.h"
#include "app_error.h"
#include "dates.h"
#include "dialog_tag.h"
#include "dialogs/Paramedit.h"
#include "fixtures.h"
#include "query.h"
#include "report_test_env.h"
#include "reports/report_messages.h"
#include "reports/template_report.h"
#include "test_cluster.h"

namespace {

using api::TemplateReport;
using api::TemplateReportRequest;
using ooxml::CellType;
namespace msg = api::report_messages;

constexpr int kTemplated = 9901, kUntemplated = 9902, kAccount = 9903, kNoParameters = 9904, kFailing = 9905;

const char* kRowsStatement =
    "select g as n, 'Ученик ' || g as fio, date '2024-03-01' + g as day,\n"
    "       timestamp '2024-03-01 08:15' + g * interval '1 day' as stamp,\n"
    "       cast(g * 1.5 as numeric) as amount, 'не в отчете' as extra\n"
    "from generate_series(1, cast(:rows_n as integer)) g where :label = :label";

const char* kProtocolTemplate = R"(
title "Тестовый отчет"
line  "{Organization_name}"
param Name_org "Организация"
param CURRENT_DATE "Дата"
param Organization_name "Здание"
param rows_n "Строк"
param label "Подпись"
param show_balance "Свойство"
param ON_DATE "Дата ведомости"
column 5 int - "№"
column 20 text label "Ф.И.О."
column 12 date - "Дата"
column 18 text - "Время"
column 10 money sum "Сумма"
)";

class TemplateReportTest : public reports_test::ReportTest {
protected:
    static void SetUpTestSuite() {
        const QString rows = QString::fromUtf8(kRowsStatement).replace(u'\'', QStringLiteral("''"));
        const QString columns = QStringLiteral("n=№\nfio=Ф.И.О.\nday=Дата\nstamp=Время\namount=Сумма");
        testsupport::superuserExec(QStringLiteral(
            "delete from school_001.sys_report where report_id between 9901 and 9905;\n"
            "insert into school_001.sys_report (report_id, name, template, report_group, sql_text, params, column_list) values\n"
            " (9901, 'Тест: по шаблону', 'protocol.xlt', 1, '%1', E'rows_n=Число строк\\nlabel=Подпись', E'%2'),\n"
            " (9902, 'Тест: без шаблона', null, 1, '%1', E'rows_n=Число строк\\nlabel=Подпись', E'%2'),\n"
            " (9903, 'Тест: счет', null, 1, 'select account_id, last_name from public.human where account_id = cast(:ACCOUNT_ID as integer)',"
            "  'account_id=Номер счета', E'account_id=Счет\\nlast_name=Фамилия'),\n"
            " (9904, 'Тест: без параметров', null, 1, 'select 1 as one', '', 'one=Один'),\n"
            " (9905, 'Тест: ошибка', null, 1, 'select 1 / (cast(:zero as integer)) as x', 'zero=Ноль', 'x=X');")
                                         .arg(rows, QString(columns).replace(u'\n', QStringLiteral("\\n"))));
    }
    static void TearDownTestSuite() {
        testsupport::superuserExec(QStringLiteral("delete from school_001.sys_report where report_id between 9901 and 9905;"));
    }

    TemplateReportTest() { makeTemplate(QStringLiteral("protocol"), QString::fromUtf8(kProtocolTemplate)); }

    static TemplateReportRequest request(int reportId, const QString& rows = QStringLiteral("3")) {
        TemplateReportRequest r;
        r.reportId = reportId;
        r.presets = {{QStringLiteral("rows_n"), rows}, {QStringLiteral("LABEL"), QStringLiteral("Март")}};
        return r;
    }
    int logged(const QString& module) {
        auto admin = testsupport::connectAs(QStringLiteral("admin"));
        db::Query q(admin.get());
        q.addSql(QStringLiteral("select count(*) from admin.message_log where module_name = :m"));
        q.param(QStringLiteral("m")).setText(module);
        q.open();
        return int(q.field(0).asInteger());
    }
    // Answers the parameter dialog when it comes up: sets the value cells, then confirms or closes it.
    void answerDialog(QStringList values, bool confirm, bool* shown) {
        QTimer::singleShot(0, [values, confirm, shown] {
            auto* dialog = qobject_cast<api::TParamEditForm*>(QApplication::activeModalWidget());
            if (!dialog) return;
            *shown = true;
            for (int i = 0; i < values.size(); ++i) dialog->setCell(1, i, values[i]);
            confirm ? dialog->OkButtonClick() : dialog->reject();
        });
    }
};

TEST_F(TemplateReportTest, FillsParametersPropertiesExtraCellsAndTheBlock) {
    auto r = request(kTemplated);
    r.cells = {{QStringLiteral("Organization_name"), QStringLiteral("Основное здание")}};
    const QString path = TemplateReport::run(TemplateReport::mealbook(), r);
    EXPECT_EQ(desktop().opened, QStringList{path});

    const auto parameters = sheet(path, "Parametrs");
    EXPECT_EQ(text(parameters, 2, 2), "");  // the school's own ref_property has no Name_org
    EXPECT_EQ(QString::fromStdString(text(parameters, 3, 2)),
              api::toShortDate(openQuery(QStringLiteral("select current_date"))->field(0).asDate()));
    EXPECT_EQ(text(parameters, 4, 2), "Основное здание");
    EXPECT_EQ(text(parameters, 5, 2), "3");     // parameters as text
    EXPECT_EQ(text(parameters, 6, 2), "Март");  // preset by the statement's parameter name, any case
    EXPECT_EQ(parameters.sheetCell(5, 2).type, CellType::Text);
    EXPECT_EQ(text(parameters, 7, 2), "1");     // ref_property show_balance

    const auto data = sheet(path, "Data");  // DataBeg = A5
    for (int i = 1; i <= 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data.sheetCell(4 + i, 1).number, i);
        EXPECT_EQ(text(data, 4 + i, 2), "Ученик " + std::to_string(i));
        EXPECT_EQ(data.sheetCell(4 + i, 3).type, CellType::Date);
        EXPECT_EQ(data.sheetCell(4 + i, 4).type, CellType::Text);
        EXPECT_EQ(data.sheetCell(4 + i, 5).number, 1.5 * i);
        EXPECT_EQ(data.sheetCell(4 + i, 6).type, CellType::Empty);  // column_list has five lines
    }
    EXPECT_EQ(text(data, 5, 3), "02.03.2024");
    EXPECT_EQ(text(data, 5, 4), "02.03.2024 08:15:00");
    EXPECT_EQ(text(data, 8, 2), "Итого");
}

TEST_F(TemplateReportTest, StaffWorkstationAlsoWritesTheOrganisationName) {
    const QString path = TemplateReport::run(TemplateReport::staffdesk(), request(kTemplated));
    EXPECT_EQ(text(sheet(path, "Parametrs"), 2, 2), "МУП «Комбинат школьного питания»");
}

TEST_F(TemplateReportTest, ExtraCellsAreIgnoredOneByOneOrSkippedTogether) {
    for (bool together : {false, true}) {
        SCOPED_TRACE(together);
        auto r = request(kTemplated);
        r.cells = {{QStringLiteral("Organization_name"), QStringLiteral("Здание")},
                   {QStringLiteral("CORPUS_NAME"), QStringLiteral("нет такой ячейки")}};
        r.cellsFromParameters = [](const api::NamedValues& parameters) {
            return api::NamedValues{{QStringLiteral("ON_DATE"), parameters.value(0).second + QStringLiteral(" строки")}};
        };
        r.cellsTogether = together;
        const auto parameters = sheet(TemplateReport::run(TemplateReport::mealbook(), r), "Parametrs");
        EXPECT_EQ(text(parameters, 4, 2), "Здание");
        EXPECT_EQ(text(parameters, 8, 2), together ? "" : "3 строки");
    }
}

TEST_F(TemplateReportTest, WithoutTemplateWritesCaptionsTextColumnsAndRows) {
    const QString path = TemplateReport::run(TemplateReport::mealbook(), request(kUntemplated, QStringLiteral("2")));
    const auto grid = ooxml::readSheet(path.toStdString());
    EXPECT_EQ(grid.rowCount, 3);
    EXPECT_EQ(grid.columnCount, 5);
    const char* captions[] = {"№", "Ф.И.О.", "Дата", "Время", "Сумма"};
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(text(grid, 1, c), captions[c - 1]);
    EXPECT_EQ(grid.sheetCell(2, 1).type, CellType::Number);
    EXPECT_EQ(text(grid, 2, 2), "Ученик 1");
    EXPECT_EQ(grid.sheetCell(2, 3).type, CellType::Text);  // a date column has the text format
    EXPECT_EQ(text(grid, 2, 3), "02.03.2024");
    EXPECT_EQ(text(grid, 3, 4), "03.03.2024 08:15:00");
    EXPECT_EQ(grid.sheetCell(3, 5).number, 3);
    const std::string sheetXml = ooxml::test::readPart(path.toStdString(), "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheetXml.find("<cols>"), std::string::npos);  // fitted widths
}

TEST_F(TemplateReportTest, TheDialogIsShownWhenAskedAndTheRunNeedsItsConfirmation) {
    struct Case {
        const char* what;
        int report;
        bool confirm;
        bool expectShown;
        bool expectRun;
    };
    const Case cases[] = {
        {"confirmed", kUntemplated, true, true, true},
        {"closed", kUntemplated, false, true, false},
        {"no parameters: not shown", kNoParameters, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desktop().opened.clear();
        bool shown = false;
        answerDialog({QStringLiteral("4"), QStringLiteral("x")}, c.confirm, &shown);
        auto r = request(c.report);
        r.showDialog = true;
        if (c.expectRun) {
            const QString path = TemplateReport::run(TemplateReport::mealbook(), r);
            if (c.report == kUntemplated) EXPECT_EQ(ooxml::readSheet(path.toStdString()).rowCount, 5);  // 4 typed rows
        } else {
            EXPECT_THROW(TemplateReport::run(TemplateReport::mealbook(), r), api::Abort);
            EXPECT_TRUE(desktop().opened.isEmpty());
        }
        QApplication::processEvents();
        EXPECT_EQ(shown, c.expectShown);
    }
}

TEST_F(TemplateReportTest, AnAccountNumberThatDoesNotExistStopsTheRun) {
    const int existing = scalar(QStringLiteral("select min(account_id) from human_available"));
    struct Case {
        QString number;
        bool check;
        bool runs;
    };
    const Case cases[] = {
        {QStringLiteral("123"), true, false},
        {QStringLiteral("не число"), true, false},
        {QString::number(existing), true, true},
        {QStringLiteral("123"), false, true},  // modules without the check
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number.toStdString());
        messages().clear();
        TemplateReportRequest r;
        r.reportId = kAccount;
        r.presets = {{QStringLiteral("account_id"), c.number}};
        auto settings = TemplateReport::mealbook();
        settings.checkAccount = c.check;
        if (c.runs) {
            const auto grid = ooxml::readSheet(TemplateReport::run(settings, r).toStdString());
            EXPECT_EQ(grid.rowCount, c.number == QString::number(existing) ? 2 : 1);
            continue;
        }
        EXPECT_THROW(TemplateReport::run(settings, r), api::Abort);
        EXPECT_EQ(messages().lastText(), QStringLiteral("Указаный номер счета ") + c.number + QStringLiteral(" не существует"));
        EXPECT_EQ(messages().shown().last().icon, api::MessageIcon::Warning);
    }
}

TEST_F(TemplateReportTest, FailuresGoThroughTheErrorPathAndLeaveNothing) {
    makeTemplate(QStringLiteral("without_label"),
                 QString::fromUtf8(kProtocolTemplate).replace(QStringLiteral("param label \"Подпись\"\n"), QString()));
    ooxml::test::makeTemplate(xltFile(QStringLiteral("missing_sheet.xlsx")).toStdString(),
                              {.extraName = "rows_n", .extraReference = "=Missing!$B$2"});
    ooxml::test::writeFile(xltFile(QStringLiteral("broken.xlsx")).toStdString(), "PK\x03\x04 обрезан");
    struct Case {
        const char* what;
        int report;
        QString templateName;  // empty: the row's
        QString message;
    };
    const Case cases[] = {
        {"no cell for a parameter", kTemplated, QStringLiteral("without_label.xlt"), QStringLiteral("label")},
        {"a parameter's cell on a missing sheet", kTemplated, QStringLiteral("missing_sheet.xlt"),
         QStringLiteral("отсутствующий лист")},
        {"missing template", kTemplated, QStringLiteral("nothere.xlt"), QStringLiteral("Файл шаблона не найден")},
        {"damaged template", kTemplated, QStringLiteral("broken.xlt"), QStringLiteral("broken")},
        {"no such report", 99999, QString(), QStringLiteral("Отчет с номером 99999 не найден")},
        {"the statement fails", kFailing, QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = logged(QStringLiteral("mealbook"));
        auto r = request(c.report);
        r.presets += {QStringLiteral("zero"), QStringLiteral("0")};
        if (!c.templateName.isEmpty()) r.templateName = c.templateName;
        expectFailure([&] { TemplateReport::run(TemplateReport::mealbook(), r); }, c.message);
        EXPECT_TRUE(desktop().opened.isEmpty());
        EXPECT_EQ(logged(QStringLiteral("mealbook")), before + 1);
    }
}

TEST_F(TemplateReportTest, RefusalsShowTheirMessageAndStopSilently) {
    TemplateReportRequest staffPayList;
    staffPayList.source = TemplateReportRequest::Source::StaffPayList;
    staffPayList.corpusId = 1;  // the main building has no staff pay list
    struct Case {
        const char* what;
        bool spreadsheet;
        TemplateReportRequest request;
        QString message;
        api::MessageIcon icon;
    };
    const Case cases[] = {
        {"no spreadsheet application", false, request(kTemplated), msg::kNoSpreadsheet, api::MessageIcon::Warning},
        {"no pay-list report for the building", true, staffPayList, msg::kNoReportText, api::MessageIcon::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desktop().spreadsheetApplication = c.spreadsheet;
        messages().clear();
        EXPECT_THROW(TemplateReport::run(TemplateReport::mealbook(), c.request), api::Abort);
        ASSERT_EQ(messages().shown().size(), 1);
        EXPECT_EQ(messages().lastText(), c.message);
        EXPECT_EQ(messages().shown().last().icon, c.icon);
        EXPECT_TRUE(documents().isEmpty());
    }
}

}  // namespace
