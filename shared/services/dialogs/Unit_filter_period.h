#pragma once
// Tfrm_filter_period: a month, a quarter or a day of the year shown in ed_year (written by
// the caller). A month button sets month_num and month_tag = 666, a quarter button
// period_beg/period_end and quarter_tag = 666, a day chosen in the calendar gives the
// calendar the tag 666; each closes the dialog. Hidden when closed; the caller frees it.

#include <QDate>
#include <QDialog>
#include <QList>

#include "api_export.h"

class QCalendarWidget;
class QLineEdit;
class QToolButton;

namespace api {

class API_EXPORT Tfrm_filter_period : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_filter_period(QWidget* parent = nullptr);

    void SpeedButton1Click();           // "<": the year before
    void SpeedButton2Click();           // ">": the year after
    void monthClick(int month);         // SpeedButton3 .. SpeedButton14: January = 1
    void quarterClick(int quarter);     // SpeedButton15 .. SpeedButton18
    void SpeedButton19Click();          // "День": shows the calendar
    void calendarChange();

    int month_tag = 0;
    int quarter_tag = 0;
    int month_num = 0;
    QDate period_beg;
    QDate period_end;

    QToolButton* SpeedButton1;
    QLineEdit* ed_year;
    QToolButton* SpeedButton2;
    QList<QToolButton*> monthButtons;    // SpeedButton3 .. SpeedButton14
    QList<QToolButton*> quarterButtons;  // SpeedButton15 .. SpeedButton18
    QToolButton* SpeedButton19;
    QCalendarWidget* calendar;

private:
    void stepYear(int delta);
};

}  // namespace api
