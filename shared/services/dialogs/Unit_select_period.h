#pragma once
// Tfrm_select_period: moves the end of a pupil's privilege period to the last day of the
// chosen month, after a Yes/No question. The caller fills z_months (get_list_months with
// ed_year), chooses the month in db_months and sets beg_date, entry_date, account_id and
// pupil_fio. "Выбрать" sets btn_go's tag to 666 and closes whatever the answer. Frees
// itself when closed.

#include <QDate>
#include <QDialog>

#include "api_export.h"

class QLineEdit;
class QPushButton;

namespace db { class Query; }

namespace api {

class DbLookupCombo;

class API_EXPORT Tfrm_select_period : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_select_period(QWidget* parent = nullptr);

    void btn_goClick();

    // Set by the caller.
    QDate beg_date;
    QDate entry_date;
    int account_id = 0;
    QString pupil_fio;
    // Set by the dialog.
    int month_num = 0;
    int year_num = 0;

    db::Query* z_months;
    DbLookupCombo* db_months;  // key num_month, list month_name
    QLineEdit* ed_year;        // digits only
    QPushButton* btn_go;
};

}  // namespace api
