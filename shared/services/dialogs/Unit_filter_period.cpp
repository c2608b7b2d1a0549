#include "Unit_filter_period.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "dates.h"
#include "dialog_tag.h"
#include "registry.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_filter_period);

namespace {

QToolButton* speedButton(int number, const QString& caption, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(number));
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

const char* const kMonths[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                               "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
// The first and last day of each quarter, as text before the year.
const char* const kQuarterBeg[] = {"01.01.", "01.04.", "01.07.", "01.10."};
const char* const kQuarterEnd[] = {"31.03.", "30.06.", "30.09.", "31.12."};

}  // namespace

Tfrm_filter_period::Tfrm_filter_period(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_filter_period"));
    setWindowTitle(QStringLiteral("Выбор периода"));

    SpeedButton1 = speedButton(1, QStringLiteral("<"), this);
    ed_year = new QLineEdit(this);
    ed_year->setObjectName(QStringLiteral("ed_year"));
    ed_year->setReadOnly(true);
    ed_year->setAlignment(Qt::AlignCenter);
    SpeedButton2 = speedButton(2, QStringLiteral(">"), this);
    auto* yearBar = new QHBoxLayout;
    yearBar->addWidget(SpeedButton1);
    yearBar->addWidget(ed_year);
    yearBar->addWidget(SpeedButton2);

    auto* grid = new QGridLayout;
    for (int month = 1; month <= 12; ++month) {
        QToolButton* button = speedButton(month + 2, QString::fromUtf8(kMonths[month - 1]), this);
        monthButtons << button;
        grid->addWidget(button, (month - 1) / 3, (month - 1) % 3);
        connect(button, &QToolButton::clicked, this, [this, month] { monthClick(month); });
    }
    for (int quarter = 1; quarter <= 4; ++quarter) {
        QToolButton* button = speedButton(quarter + 14, QStringLiteral("%1 квартал").arg(quarter), this);
        quarterButtons << button;
        grid->addWidget(button, quarter - 1, 3);
        connect(button, &QToolButton::clicked, this, [this, quarter] { quarterClick(quarter); });
    }
    SpeedButton19 = speedButton(19, QStringLiteral("День"), this);
    grid->addWidget(SpeedButton19, 4, 0, 1, 4);
    calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("calendar"));
    calendar->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(yearBar);
    layout->addLayout(grid);
    layout->addWidget(calendar);

    connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_filter_period::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tfrm_filter_period::SpeedButton2Click);
    connect(SpeedButton19, &QToolButton::clicked, this, &Tfrm_filter_period::SpeedButton19Click);
    connect(calendar, &QCalendarWidget::clicked, this, &Tfrm_filter_period::calendarChange);
    connect(calendar, &QCalendarWidget::activated, this, &Tfrm_filter_period::calendarChange);
}

void Tfrm_filter_period::stepYear(int delta) { ed_year->setText(QString::number(ed_year->text().toInt() + delta)); }

void Tfrm_filter_period::SpeedButton1Click() { stepYear(-1); }
void Tfrm_filter_period::SpeedButton2Click() { stepYear(+1); }

void Tfrm_filter_period::monthClick(int month) {
    month_num = month;
    month_tag = kTagConfirmed;
    accept();
}

void Tfrm_filter_period::quarterClick(int quarter) {
    const QString year = ed_year->text();
    period_beg = fromShortDate(QString::fromLatin1(kQuarterBeg[quarter - 1]) + year);
    period_end = fromShortDate(QString::fromLatin1(kQuarterEnd[quarter - 1]) + year);
    quarter_tag = kTagConfirmed;
    accept();
}

void Tfrm_filter_period::SpeedButton19Click() {
    calendar->show();
    calendar->setFocus();
}

void Tfrm_filter_period::calendarChange() {
    setTag(calendar, kTagConfirmed);
    accept();
}

}  // namespace api
