#pragma once
// Tfrm_refused_pay_list_days: the dates on which no pay list may be posted or rolled back.
// "Сохранить" adds the calendar's date, "Удалить" removes the current row's date; the list
// is re-read after each. The caller shows it and frees it.

#include <QDate>
#include <QDialog>

#include "api_export.h"

class QCalendarWidget;
class QPushButton;

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tfrm_refused_pay_list_days : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_refused_pay_list_days(QWidget* parent = nullptr);

    void FormShow();
    void get_refused_pay_list_days(db::Query& query);
    void insert_refused_date(const QDate& date, const QString& note);
    void delete_refused_pay_list_date(const QDate& date);
    void btn_goClick();
    void Button1Click();

    QCalendarWidget* MonthCalendar1;
    db::Query* z_refused_days;
    DbGrid* grid_refused_paylist_date;
    QPushButton* btn_go;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace api
