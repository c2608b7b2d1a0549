#include "dm_api_reports.h"

#include <QPointer>
#include <QSignalBlocker>
#include <QWidget>

#include "abort.h"
#include "app_error.h"
#include "dataset_block.h"
#include "dates.h"
#include "dm_api.h"
#include "messages.h"
#include "ooxml/error.h"
#include "ooxml/workbook.h"
#include "query.h"
#include "report_files.h"
#include "report_messages.h"
#include "wait_cursor.h"

namespace api {

namespace {

using namespace report_messages;

// A named cell that matters to nobody when it cannot be written.
void setCellIgnoringErrors(ooxml::Workbook& book, const QString& name, const QString& value) {
    try {
        book.setNamedCell(name.toStdString(), value.toStdString());
    } catch (const std::exception&) {
    }
}

// The dataset's visual controls stay still while its rows are walked.
class DetachedControls {
public:
    DetachedControls(db::Query& dataset, const QList<QWidget*>& controls)
        : dataset_(dataset), blocker_(&dataset) {
        for (QWidget* w : controls)
            if (w && w->updatesEnabled()) {
                w->setUpdatesEnabled(false);
                controls_ << QPointer<QWidget>(w);
            }
    }
    ~DetachedControls() {
        blocker_.unblock();
        for (const QPointer<QWidget>& w : controls_)
            if (w) w->setUpdatesEnabled(true);
        if (dataset_.isOpen()) dataset_.first();
    }

private:
    db::Query& dataset_;
    QSignalBlocker blocker_;
    QList<QPointer<QWidget>> controls_;
};

}  // namespace

QString Tapi_dm_reports::xlTransmitDataset(db::Query* dataset, const QString& templateName,
                                           const NamedValues& cells) {
    if (!dataset || !dataset->isOpen() || dataset->recordCount() == 0) throw AppError(kNoData);
    if (templateName.trimmed().isEmpty()) throw AppError(kNoTemplate);
    WaitCursor wait;
    try {
        ooxml::Workbook book = ooxml::Workbook::openTemplate(resolveTemplate(templateName).toStdString());
        for (const auto& [name, value] : cells) setCellIgnoringErrors(book, name, value);
        try {
            setCellIgnoringErrors(book, QStringLiteral("Name_org"), Tapi_dm::get_dorv_org_name());
        } catch (const std::exception&) {
        }
        try {
            setCellIgnoringErrors(book, QStringLiteral("CURRENT_DATE"), toShortDate(Tapi_dm::get_curr_date()));
        } catch (const std::exception&) {
        }
        const int columns = dataset->fieldCount();
        book.writeBlock(book.dataBlockOrigin(), columns, datasetRows(*dataset, columns));
        return handOverWorkbook(book, reportBaseName(templateName));
    } catch (const ooxml::Error& e) {
        throw AppError(QString::fromUtf8(e.what()));
    }
}

void Tapi_dm_reports::requireSpreadsheetApplication() {
    if (Tapi_dm::IsOLEObjectInstalled(QStringLiteral("Excel.Application"))) return;
    warning(kNoSpreadsheet);
    abortSilently();
}

QString Tapi_dm_reports::exportDataset(db::Query& dataset, const QString& templateName,
                                       const QList<QWidget*>& controls, bool limitRows,
                                       const NamedValues& cells) {
    requireSpreadsheetApplication();
    if (!dataset.isOpen() || dataset.recordCount() == 0) {
        warning(kEmptyList);
        abortSilently();
    }
    if (limitRows && dataset.recordCount() > kMaxExportRows) {
        warning(kTooManyRows);
        abortSilently();
    }
    DetachedControls detached(dataset, controls);
    return xlTransmitDataset(&dataset, templateName, cells);
}

}  // namespace api
