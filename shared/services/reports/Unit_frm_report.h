#pragma once
// Tfrm_report: the generic report window — a date range, a payment-agent list, "Найти", the
// result grid with its navigator and the export button. It runs no query of its own: the
// caller sets the caption, fills z_ref_pay_agents (and the look-up's key and list fields),
// sets the dates and connects "Найти" (btn_find_data) to what fills z_report. Created by
// class name: api::createByClassName("Tfrm_report").

#include <QDialog>

#include "api_export.h"
#include "dm_api_reports.h"

class QDateEdit;
class QToolButton;
class QPushButton;
namespace db { class Query; }

namespace api {

class DbGrid;
class DbLookupCombo;
class DbNavigator;

class API_EXPORT Tfrm_report : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_report(QWidget* parent = nullptr);

    // The export of Tapi_dm_reports::xlTransmitDataset plus the window's cells "pay_agent",
    // "beg_date" and "end_date". Returns the saved file.
    QString xlTransmitDataset(db::Query* dataset, const QString& templateName);
    // The export button: the checks of the caller protocol, then z_report into "payreport_v2.xlt".
    void SpeedButton1Click();

    QDateEdit* date_beg;
    QDateEdit* date_end;
    db::Query* z_ref_pay_agents;
    DbLookupCombo* db_pay_agents;
    QPushButton* btn_find_data;
    QToolButton* SpeedButton1;
    db::Query* z_report;
    DbGrid* grid_report;
    DbNavigator* navigator;

private:
    // "pay_agent" (the agent shown), "beg_date", "end_date" (short date format).
    NamedValues parameterCells() const;
};

}  // namespace api
