// The month report "Отчет о питании за месяц (Все)" (report 10) for the demo school's first
// building and last month: the whole protocol (definition, statement, template, save) as
// the meal accounting menu runs it, against the report's statement alone.
// Usage: bench_month_report "<libpq connection string of school_001>"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "bench_connection.h"
#include "bench_support.h"
#include "desktop.h"
#include "query.h"
#include "reports/template_report.h"
#include "scripted_messages.h"
#include "session.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PGconn* probe = bench::connectOrExit(argc, argv, "<conninfo of school_001>");
    PQfinish(probe);

    db::Connection conn;
    conn.open(bench::profileFromConninfo(argv[1]));
    api::setConnection(&conn);
    api::setMessageService(std::make_shared<api::ScriptedMessages>());
    auto desktop = std::make_shared<api::RecordingDesktop>();
    api::setDesktopService(desktop);
    // A program folder of its own: the built templates, an empty doc/.
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("doc"));
    QFile::link(QStringLiteral(DORV_PROGRAM_DIR "/XLT"), folder.filePath(QStringLiteral("XLT")));
    api::setProgramDir(folder.path());

    const QDate month = QDate::currentDate().addMonths(-1);
    api::TemplateReportRequest request;
    request.reportId = 10;
    request.presets = {{QStringLiteral("year_id"), month.toString(QStringLiteral("yyyy"))},
                       {QStringLiteral("month_id"), month.toString(QStringLiteral("MM"))},
                       {QStringLiteral("corpus_id"), QStringLiteral("1")},
                       {QStringLiteral("invalid"), QStringLiteral("3")}};
    request.cells = {{QStringLiteral("Organization_name"), QStringLiteral("Основное здание")}};

    db::Query definition(&conn);
    definition.addSql(QStringLiteral("select sql_text from sys_report where report_id = 10"));
    definition.open();
    const QString sql = definition.field(QStringLiteral("sql_text")).asString();
    int rows = 0;
    auto statementAlone = [&] {
        db::Query q(&conn);
        q.setSql(sql);
        for (const QString& name : q.paramNames())
            for (const auto& [preset, value] : request.presets)
                if (preset.compare(name, Qt::CaseInsensitive) == 0) q.param(name).setText(value);
        q.open();
        rows = q.recordCount();
    };

    statementAlone();  // warm the server's caches
    const double sqlMs = bench::medianMs(5, statementAlone);
    const double reportMs = bench::medianMs(5, [&] {
        api::TemplateReport::run(api::TemplateReport::mealbook(), request);
    });
    bench::report("month_report_all_rows", rows, "rows");
    bench::report("month_report_all_sql", sqlMs, "ms");
    bench::report("month_report_all_click_to_workbook", reportMs, "ms");
    bench::report("month_report_all_ratio_vs_sql", reportMs / sqlMs, "x");
    return 0;
}
