#pragma once
// Where the window hands its printouts to the shared report services: the template
// report builder and the export of a dataset into a spreadsheet template.

#include <QString>

#include "report_request.h"

namespace db { class Query; }

namespace mealbook {

// Runs one template report (the whole protocol lives in the shared services).
void runTemplateReport(const ReportRequest& request);

// Exports the rows the dataset shows into the spreadsheet template.
void transmitDataset(db::Query& query, const QString& templateName);

}  // namespace mealbook
