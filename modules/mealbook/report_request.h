#pragma once
// One run of a template report as the window asks for it: where the report's definition
// comes from, the parameter values it presets, the extra named cells of the "Parametrs"
// sheet and whether the parameter dialog is shown.

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace mealbook {

struct ReportRequest {
    enum class Source {
        ReportId,            // the sys_report row of reportId
        PupilsPayList,       // the row named by the building's pay_list_report_id
        StaffPayList,        // the row named by the building's staff_report_id
    };
    using Values = QList<QPair<QString, QString>>;

    Source source = Source::ReportId;
    int reportId = 0;
    int corpusId = 0;              // the building of the pay-list prints
    QString templateName;          // the reports tab passes its row's template
    Values presets;                // parameter name -> value
    Values cells;                  // named cell of "Parametrs" -> value
    bool showDialog = false;       // the reports tab shows the parameter dialog
    bool checkAccount = false;     // an ACCOUNT_ID parameter must name an existing pupil
    bool cellsTogether = false;    // an error in one extra cell skips the others silently
    // Extra cells known only once the parameters are final (the reports tab's ON_DATE).
    std::function<Values(const Values& parameters)> cellsFromParameters;
};

}  // namespace mealbook
