#include "report_bridge.h"

#include "app_error.h"

namespace mealbook {

// The shared template report builder and dataset export are not part of api yet; until
// they are, a run stops with this error and nothing is written.
namespace {
[[noreturn]] void unavailable() {
    throw api::AppError(QStringLiteral("Построение отчетов недоступно в этой версии программы"));
}
}  // namespace

void runTemplateReport(const ReportRequest&) { unavailable(); }

void transmitDataset(db::Query&, const QString&) { unavailable(); }

}  // namespace mealbook
