#include "Unit_period.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "dates.h"
#include "db_lookup_combo.h"
#include "dialog_tag.h"
#include "query.h"
#include "registry.h"
#include "session.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_period);

Tfrm_period::Tfrm_period(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_period"));
    setWindowTitle(QStringLiteral("Создание периода"));

    z_period_month = new db::Query(connectionOrNull(), this);
    z_period_month->setObjectName(QStringLiteral("z_period_month"));
    db_period_months = new DbLookupCombo(this);
    db_period_months->setObjectName(QStringLiteral("db_period_months"));
    db_period_months->setQuery(z_period_month, QStringLiteral("num_month"), QStringLiteral("month_name"));
    date_beg_period = new QDateEdit(this);
    date_beg_period->setObjectName(QStringLiteral("date_beg_period"));
    date_end_period = new QDateEdit(this);
    date_end_period->setObjectName(QStringLiteral("date_end_period"));
    for (QDateEdit* picker : {date_beg_period, date_end_period}) {
        picker->setDisplayFormat(shortDateFormat());
        picker->setCalendarPopup(true);
    }
    ed_period_name = new QLineEdit(this);
    ed_period_name->setObjectName(QStringLiteral("ed_period_name"));
    btn_create = new QPushButton(QStringLiteral("Создать"), this);
    btn_create->setObjectName(QStringLiteral("btn_create"));

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Месяц:"), db_period_months);
    layout->addRow(QStringLiteral("Начальная дата:"), date_beg_period);
    layout->addRow(QStringLiteral("Конечная дата:"), date_end_period);
    layout->addRow(QStringLiteral("Имя периода:"), ed_period_name);
    layout->addRow(btn_create);
    connect(btn_create, &QPushButton::clicked, this, &Tfrm_period::btn_createClick);
}

void Tfrm_period::btn_createClick() {
    setTag(btn_create, kTagConfirmed);
    accept();
}

}  // namespace api
