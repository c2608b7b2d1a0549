#include "template_report.h"

#include <QDate>
#include <memory>

#include "abort.h"
#include "app_error.h"
#include "dataset_block.h"
#include "dates.h"
#include "dialog_tag.h"
#include "dialogs/Paramedit.h"
#include "dm_api.h"
#include "logged_action.h"
#include "messages.h"
#include "ooxml/error.h"
#include "ooxml/workbook.h"
#include "query.h"
#include "report_files.h"
#include "report_messages.h"
#include "session.h"
#include "wait_cursor.h"

namespace api {

namespace {

using namespace report_messages;

struct Line {
    QString name, caption;
};

// "name=caption" lines of params and column_list; blank lines are skipped.
QList<Line> splitLines(const QString& text) {
    QList<Line> lines;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const int eq = line.indexOf(u'=');
        lines.append(eq < 0 ? Line{line.trimmed(), QString()} : Line{line.left(eq).trimmed(), line.mid(eq + 1)});
    }
    return lines;
}

std::optional<QString> lookup(const NamedValues& values, const QString& name) {
    for (const auto& [key, value] : values)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return std::nullopt;
}

std::string utf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

// The definition of the report the run reads.
struct Definition {
    QString sqlText, params, columnList;
    QString templateName;  // null: no template
    bool fromPayList = false;
};

class Run {
public:
    Run(const TemplateReportSettings& settings, const TemplateReportRequest& request)
        : settings_(settings), request_(request) {}

    QString execute() {
        const Definition definition = readDefinition();
        report_.setConnection(&connection());
        report_.setSql(definition.sqlText);
        const QList<Line> columns = splitLines(definition.columnList);
        NamedValues parameters = definition.fromPayList ? presetParameters() : askParameters(definition);

        {
            WaitCursor wait;
            report_.open();
            const QString templateName = request_.templateName ? *request_.templateName : definition.templateName;
            const bool templated = !templateName.trimmed().isEmpty();
            const int columnCount = definition.fromPayList || columns.isEmpty() ? report_.fieldCount()
                                                                                : int(columns.size());
            try {
                if (templated) {
                    ooxml::Workbook book = ooxml::Workbook::openTemplate(utf8(resolveTemplate(templateName)));
                    fillNamedCells(book, parameters, !definition.fromPayList);
                    book.writeBlock(book.dataBlockOrigin(), columnCount, datasetRows(report_, columnCount));
                    return handOverWorkbook(book, reportBaseName(templateName));
                }
                ooxml::Workbook book = ooxml::Workbook::create("Лист1");
                ooxml::BlockOptions options;
                const std::vector<CellKind> kinds = cellKinds(report_);
                for (int j = 0; j < columnCount; ++j) {
                    options.captions.push_back(j < columns.size() ? utf8(columns[j].caption) : std::string());
                    const bool text = j < int(kinds.size()) &&
                                      (writtenAsText(kinds[size_t(j)]) || kinds[size_t(j)] == CellKind::Date);
                    options.textColumns.push_back(text);
                }
                options.fitColumnWidths = true;
                book.writeBlock({"Лист1", {1, 1}}, columnCount, datasetRows(report_, columnCount), options);
                return handOverWorkbook(book, QStringLiteral("report_%1").arg(request_.reportId));
            } catch (const ooxml::Error& e) {
                throw AppError(QString::fromUtf8(e.what()));
            }
        }
    }

private:
    // "dorv." for admin where the module reads the organisation's tables, "<schema> ." for the
    // staff workstation on a school, else nothing (the login's search path).
    QString tablePrefix() const {
        if (settings_.dorvTablesForAdmin && userName() == QLatin1String("admin")) return QStringLiteral("dorv.");
        if (!settings_.schema.isEmpty()) return settings_.schema + QStringLiteral(" .");
        return {};
    }

    Definition readDefinition() {
        db::Query row(&connection());
        Definition d;
        if (request_.source == TemplateReportRequest::Source::ReportId) {
            row.addSql(QStringLiteral("select * from %1sys_report where report_id = :p_query_id").arg(tablePrefix()));
            row.param(QStringLiteral("p_query_id")).setInteger(request_.reportId);
            row.open();
            if (row.recordCount() == 0)
                throw AppError(QStringLiteral("Отчет с номером %1 не найден").arg(request_.reportId));
            d.params = row.field(QStringLiteral("params")).asString();
            d.columnList = row.field(QStringLiteral("column_list")).asString();
        } else {
            const QString prefix = settings_.schema.isEmpty() ? QString() : settings_.schema + QStringLiteral(" .");
            row.addSql(QStringLiteral("select sql_text, template from %1sys_report t1").arg(prefix));
            row.addSql(QStringLiteral("where"));
            row.addSql(QStringLiteral("  exists(select 1 from %1ref_corpus").arg(prefix));
            row.addSql(request_.source == TemplateReportRequest::Source::StaffPayList
                           ? QStringLiteral("         where staff_report_id = t1.report_id and")
                           : QStringLiteral("         where pay_list_report_id = t1.report_id and"));
            row.addSql(QStringLiteral("               corpus_id = :corpus_id)"));
            row.param(QStringLiteral("corpus_id")).setInteger(request_.corpusId);
            row.open();
            if (row.recordCount() == 0) {
                error(kNoReportText);
                abortSilently();
            }
            d.fromPayList = true;
        }
        d.sqlText = row.field(QStringLiteral("sql_text")).asString();
        const db::Field tpl = row.field(QStringLiteral("template"));
        if (!tpl.isNull()) d.templateName = tpl.asString();
        return d;
    }

    // Pay-list prints: the presets go straight to the statement's parameters of their names.
    NamedValues presetParameters() {
        NamedValues parameters;
        for (const QString& name : report_.paramNames()) {
            const QString value = lookup(request_.presets, name).value_or(QString());
            report_.param(name).setText(value);
            parameters.append({name, value});
        }
        return parameters;
    }

    // The parameter dialog: one row per parameter line, presets in column 1; shown when asked
    // for and the statement has parameters. Returns the final values by line.
    NamedValues askParameters(const Definition& definition) {
        const QList<Line> lines = splitLines(definition.params);
        auto dialog = std::make_unique<TParamEditForm>();
        const QStringList statementParams = report_.paramNames();
        for (int i = 0; i < lines.size(); ++i) {
            report_.param(lines[i].name).setText(lines[i].caption);  // provisional value
            dialog->setCell(0, i, lines[i].caption);
            if (i < statementParams.size())
                if (const auto preset = lookup(request_.presets, statementParams[i])) dialog->setCell(1, i, *preset);
        }
        if (request_.showDialog && !statementParams.isEmpty()) {
            dialog->exec();
            if (tagOf(dialog->OkButton) != kTagConfirmed) abortSilently();
        } else {
            setTag(dialog->OkButton, kTagConfirmed);
        }
        if (settings_.checkAccount) checkAccount(*dialog);
        NamedValues parameters;
        for (int i = 0; i < lines.size(); ++i) {
            const QString value = dialog->cell(1, i);
            report_.param(lines[i].name).setText(value);
            parameters.append({lines[i].name, value});
        }
        return parameters;
    }

    void checkAccount(const TParamEditForm& dialog) {
        bool hasAccount = false;
        for (const QString& name : report_.paramNames())
            hasAccount = hasAccount || name.compare(QLatin1String("ACCOUNT_ID"), Qt::CaseInsensitive) == 0;
        if (!hasAccount) return;
        const QString number = dialog.cell(1, 0);
        db::Query exists(&connection());
        exists.addSql(QStringLiteral("select account_id from public.human where account_id = :x_account_id"));
        exists.param(QStringLiteral("x_account_id")).setInteger(number.trimmed().toLongLong());
        exists.open();
        if (exists.recordCount() == 0) {
            warning(QStringLiteral("Указаный номер счета ") + number + QStringLiteral(" не существует"));
            abortSilently();
        }
    }

    void setIgnoringErrors(ooxml::Workbook& book, const QString& name, const QString& value) {
        try {
            book.setNamedCell(utf8(name), utf8(value));
        } catch (const std::exception&) {
        }
    }

    void fillNamedCells(ooxml::Workbook& book, const NamedValues& parameters, bool writeParameters) {
        if (settings_.writeOrgName) {
            try {
                setIgnoringErrors(book, QStringLiteral("Name_org"), Tapi_dm::get_dorv_org_name());
            } catch (const std::exception&) {
            }
        }
        try {
            setIgnoringErrors(book, QStringLiteral("CURRENT_DATE"), toShortDate(Tapi_dm::get_curr_date()));
        } catch (const std::exception&) {
        }
        if (writeParameters)
            for (const auto& [name, value] : parameters) book.setNamedCell(utf8(name), utf8(value));  // must exist

        db::Query properties(&connection());
        properties.addSql(QStringLiteral("select * from %1ref_property")
                              .arg(settings_.dorvTablesForAdmin && userName() == QLatin1String("admin")
                                       ? QStringLiteral("dorv.")
                                       : QString()));
        properties.open();
        for (int r = 0; r < properties.recordCount(); ++r)
            setIgnoringErrors(book, properties.fieldAt(r, properties.fieldIndex(QStringLiteral("name"))).asString(),
                              properties.fieldAt(r, properties.fieldIndex(QStringLiteral("property_value"))).asString());

        NamedValues extra = request_.cells;
        if (request_.cellsFromParameters) extra += request_.cellsFromParameters(parameters);
        for (const auto& [name, value] : extra) {
            if (!request_.cellsTogether) {
                setIgnoringErrors(book, name, value);
                continue;
            }
            try {
                book.setNamedCell(utf8(name), utf8(value));
            } catch (const std::exception&) {
                break;  // the rest of the group is skipped
            }
        }
    }

    const TemplateReportSettings& settings_;
    const TemplateReportRequest& request_;
    db::Query report_;  // qrsysquery
};

}  // namespace

QString TemplateReport::run(const TemplateReportSettings& settings, const TemplateReportRequest& request) {
    Tapi_dm_reports::requireSpreadsheetApplication();
    return logged(settings.module, [&] { return Run(settings, request).execute(); });
}

TemplateReportSettings TemplateReport::staffdesk() {
    TemplateReportSettings s;
    s.module = QStringLiteral("pkg_staffdesk");
    s.reportGroup = 1;
    s.checkAccount = true;
    s.dorvTablesForAdmin = true;
    s.writeOrgName = true;
    return s;
}

TemplateReportSettings TemplateReport::mealbook() {
    TemplateReportSettings s;
    s.module = QStringLiteral("mealbook");
    s.reportGroup = 1;
    s.checkAccount = true;
    return s;
}

TemplateReportSettings TemplateReport::extraedu() {
    TemplateReportSettings s;
    s.module = QStringLiteral("adv_services");
    s.reportGroup = 3;
    s.dorvTablesForAdmin = true;
    return s;
}

TemplateReportSettings TemplateReport::pupilflow() {
    TemplateReportSettings s;
    s.module = QStringLiteral("move_people");
    s.reportGroup = 2;
    return s;
}

NamedValues TemplateReport::currentMonthPresets() {
    const QDate today = QDate::currentDate();
    return {{QStringLiteral("year_id"), today.toString(QStringLiteral("yyyy"))},
            {QStringLiteral("month_id"), today.toString(QStringLiteral("MM"))}};
}

}  // namespace api
