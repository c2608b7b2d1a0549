#pragma once
// Tfrm_stat_report: how many pupils of a class ate each ration in one pay list. The caller
// sets paralel_id, class_id, doc_no, on_date and the caption, shows it and frees it.

#include <QDate>
#include <QDialog>

#include "api_export.h"

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tfrm_stat_report : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_stat_report(QWidget* parent = nullptr);

    void FormShow();
    void FormCloseQuery();

    int paralel_id = 0;
    int class_id = 0;
    int doc_no = 0;
    QDate on_date;

    db::Query* z_report;
    DbGrid* stats_report_grid;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
};

}  // namespace api
