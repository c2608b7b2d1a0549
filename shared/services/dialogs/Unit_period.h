#pragma once
// Tfrm_period: a new period (month, first and last date, name). No checks: btn_create's
// tag 666 means create. The caller fills z_period_month. Hidden when closed; the caller
// frees it.

#include <QDialog>

#include "api_export.h"

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace db { class Query; }

namespace api {

class DbLookupCombo;

class API_EXPORT Tfrm_period : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_period(QWidget* parent = nullptr);

    void btn_createClick();

    db::Query* z_period_month;
    DbLookupCombo* db_period_months;  // key num_month, list month_name
    QDateEdit* date_beg_period;
    QDateEdit* date_end_period;
    QLineEdit* ed_period_name;
    QPushButton* btn_create;
};

}  // namespace api
