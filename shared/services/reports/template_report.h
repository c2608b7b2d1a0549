#pragma once
// The template report protocol: one stored report (a row of sys_report: its statement, the
// parameter lines "name=caption", the column lines "field=caption" and the template) turned
// into a workbook the user gets in the spreadsheet application.
//
//   api::TemplateReportRequest request;
//   request.reportId = 10;
//   request.presets = {{"year_id", "2024"}, {"month_id", "3"}, {"corpus_id", "1"}, {"invalid", "3"}};
//   request.cells = {{"Organization_name", buildingName}};
//   api::TemplateReport::run(api::TemplateReport::mealbook(), request);
//
// A run: the spreadsheet check (warning and silent abort); the definition read; the parameter
// dialog TParamEditForm filled from the parameter lines (a line gets its preset when the
// statement's parameter in that position has a preset), shown when the request asks for it
// and the statement has parameters (the run stops silently unless it is confirmed); the
// account check; the statement run with every parameter as text; then
//   templated:  the template opened; "Name_org" (settings.writeOrgName) and "CURRENT_DATE"
//               written, each ignoring a missing cell; every parameter's value written into
//               the cell of its name (a missing cell fails the run); every ref_property row
//               into the cell of its name (missing ones ignored); the extra cells (missing ones
//               ignored; with cellsTogether the first failure skips the rest); the rows as one
//               block at "DataBeg" (A1 of "Data" without it), one column per column line;
//   no template: a new workbook with a header row of the column captions, text format on
//               string, date and date-time columns, the rows below it, fitted column widths;
// and the workbook saved into doc/ and opened. Any failure after the check is written to the
// message log with the module's tag and raised again as AppError (logged()); nothing is left
// in doc/ then.

#include <QString>
#include <functional>
#include <optional>

#include "api_export.h"
#include "dm_api_reports.h"

namespace api {

// What differs between the modules that run stored reports.
struct API_EXPORT TemplateReportSettings {
    QString module;                  // the tag failures are logged with
    int reportGroup = 1;             // the group the module's reports page lists (get_report_group)
    bool checkAccount = false;       // an ACCOUNT_ID parameter must name an existing account
    bool dorvTablesForAdmin = false; // login "admin" reads dorv.sys_report and dorv.ref_property
    QString schema;                  // "<schema> .sys_report" / ".ref_corpus" (staff workstation
                                     // on a chosen school); empty: the login's own tables
    bool writeOrgName = false;       // "Name_org" := the organisation's name
};

struct API_EXPORT TemplateReportRequest {
    enum class Source {
        ReportId,       // the sys_report row of reportId
        PupilsPayList,  // the row named by the building's pay_list_report_id
        StaffPayList,   // the row named by the building's staff_report_id
    };
    Source source = Source::ReportId;
    int reportId = 0;
    int corpusId = 0;                       // the building of the pay-list prints
    std::optional<QString> templateName;    // the reports page's row; else the definition's
    NamedValues presets;                    // parameter name -> preset value (names ignore case)
    NamedValues cells;                      // extra cells of "Parametrs"
    bool showDialog = false;                // the reports pages show the parameter dialog
    bool cellsTogether = false;             // the first extra cell that fails skips the rest
    // Extra cells known only once the parameters are final (written after `cells`).
    std::function<NamedValues(const NamedValues& parameters)> cellsFromParameters;
};

class API_EXPORT TemplateReport {
public:
    TemplateReport() = delete;

    // Runs the report; returns the saved workbook. Throws Abort after a refusal or a
    // cancelled dialog (the message was shown), AppError on failure (logged).
    static QString run(const TemplateReportSettings& settings, const TemplateReportRequest& request);

    // The settings of the modules that list stored reports on a reports page.
    static TemplateReportSettings staffdesk();  // group 1, account check, dorv tables for admin, "Name_org"
    static TemplateReportSettings mealbook();   // group 1, account check
    static TemplateReportSettings extraedu();   // group 3, dorv tables for admin
    static TemplateReportSettings pupilflow();  // group 2

    // year_id and month_id of the workstation's date ("yyyy", "mm").
    static NamedValues currentMonthPresets();
};

}  // namespace api
