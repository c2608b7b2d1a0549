#include "Unit_select_period.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app_error.h"
#include "dates.h"
#include "db_lookup_combo.h"
#include "dialog_release.h"
#include "dialog_tag.h"
#include "digit_key_filter.h"
#include "dm_api.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "session.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_select_period);

Tfrm_select_period::Tfrm_select_period(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_select_period"));
    setWindowTitle(QStringLiteral("Выбор периода"));
    releaseWhenClosed(this);

    z_months = new db::Query(connectionOrNull(), this);
    z_months->setObjectName(QStringLiteral("z_months"));
    db_months = new DbLookupCombo(this);
    db_months->setObjectName(QStringLiteral("db_months"));
    db_months->setMaxVisibleItems(12);
    db_months->setQuery(z_months, QStringLiteral("num_month"), QStringLiteral("month_name"));
    ed_year = new QLineEdit(this);
    ed_year->setObjectName(QStringLiteral("ed_year"));
    DigitKeyFilter::install(ed_year);
    btn_go = new QPushButton(QStringLiteral("Выбрать"), this);
    btn_go->setObjectName(QStringLiteral("btn_go"));

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Месяц"), db_months);
    layout->addRow(QStringLiteral("Год"), ed_year);
    layout->addRow(btn_go);
    connect(btn_go, &QPushButton::clicked, this, &Tfrm_select_period::btn_goClick);
}

void Tfrm_select_period::btn_goClick() {
    setTag(btn_go, kTagConfirmed);
    month_num = db_months->keyValue().toInt();
    bool isNumber = false;
    year_num = ed_year->text().toInt(&isNumber);
    if (!isNumber) throw AppError(QStringLiteral("\"%1\" не является целым числом").arg(ed_year->text()));

    const QDate lastDay = Tapi_dm::build_date_from_src(year_num, month_num);
    const QString question =
        QStringLiteral("Вы действительно хотите изменить конечную дату льготного периода для учащегося  \r") +
        pupil_fio + QStringLiteral(" на дату ") + toShortDate(lastDay) + QStringLiteral(" ? ");
    if (messages().ask(question, QStringLiteral("Вопрос"), MessageIcon::Question))
        Tapi_dm::set_priv_period_end_date(month_num, year_num, account_id, beg_date, entry_date);
    accept();
}

}  // namespace api
