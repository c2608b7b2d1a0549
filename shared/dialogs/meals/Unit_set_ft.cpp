#include "Unit_set_ft.h"

#include <QFormLayout>
#include <QPushButton>

#include "dialog_tag.h"
#include "dialogs/db_lookup_combo.h"
#include "logged_action.h"
#include "query.h"
#include "registry.h"
#include "session.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_set_food_type);

namespace {

const char* const kWeekdays[] = {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"};
const char* const kScheduleColumns[] = {"monday_ration",  "tuesday_ration", "wednesday_ration", "thursday_ration",
                                        "friday_ration", "saturday_ration", "sunday_ration"};

}  // namespace

Tfrm_set_food_type::Tfrm_set_food_type(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_set_food_type"));
    setWindowTitle(QStringLiteral("Форма установки типа рациона по дням"));
    auto* layout = new QFormLayout(this);
    for (int day = 0; day < 7; ++day) {
        ZQuery[day] = new db::Query(this);
        ZQuery[day]->setObjectName(QStringLiteral("ZQuery%1").arg(day + 1));
        DBLookupComboBox[day] = new DbLookupCombo(this);
        DBLookupComboBox[day]->setObjectName(QStringLiteral("DBLookupComboBox%1").arg(day + 1));
        layout->addRow(QString::fromUtf8(kWeekdays[day]), DBLookupComboBox[day]);
    }
    z_schedule = new db::Query(this);
    z_schedule->setObjectName(QStringLiteral("z_schedule"));
    btn_set_food_type = new QPushButton(QStringLiteral("Установить"), this);
    btn_set_food_type->setObjectName(QStringLiteral("btn_set_food_type"));
    layout->addRow(btn_set_food_type);
    resize(420, 280);
    connect(btn_set_food_type, &QPushButton::clicked, this, &Tfrm_set_food_type::btn_set_food_typeClick);
}

void Tfrm_set_food_type::get_list_food_type(db::Query& query) {
    query.setConnection(&connection());
    query.close();
    query.clearSql();
    query.addSql(QStringLiteral("select rd.daily_ration_id, rd.name"));
    query.addSql(QStringLiteral("from public.ref_daily_ration rd, daily_ration_available da"));
    query.addSql(QStringLiteral("where da.daily_ration_id = rd.daily_ration_id"));
    query.addSql(QStringLiteral("and da.corpus_id = :corpus and da.attr = 1"));
    query.addSql(QStringLiteral("order by rd.daily_ration_id asc"));
    query.param(QStringLiteral("corpus")).setInteger(selected_corpus);
    query.open();
}

void Tfrm_set_food_type::FormShow() {
    logged(QStringLiteral("dm_api"), [this] {
        for (int day = 0; day < 7; ++day) {
            get_list_food_type(*ZQuery[day]);
            DBLookupComboBox[day]->setQuery(ZQuery[day], QStringLiteral("daily_ration_id"), QStringLiteral("name"));
            ZQuery[day]->first();
            DBLookupComboBox[day]->setKeyValue(ZQuery[day]->eof() ? QVariant()
                                                                   : ZQuery[day]->field(QStringLiteral("daily_ration_id")).value());
        }
        z_schedule->setConnection(&connection());
        z_schedule->close();
        z_schedule->clearSql();
        z_schedule->addSql(QStringLiteral("select * from human_food_type ft"));
        z_schedule->addSql(QStringLiteral("where ft.account_id = :account_id"));
        z_schedule->param(QStringLiteral("account_id")).setInteger(selected_account);
        z_schedule->open();
        if (z_schedule->recordCount() == 0) return;
        for (int day = 0; day < 7; ++day)
            DBLookupComboBox[day]->setKeyValue(z_schedule->field(QString::fromLatin1(kScheduleColumns[day])).value());
    });
}

QVariant Tfrm_set_food_type::rationOf(int weekday) const { return DBLookupComboBox.at(weekday)->keyValue(); }

void Tfrm_set_food_type::btn_set_food_typeClick() {
    setTag(btn_set_food_type, kTagConfirmed);
    accept();
}

void Tfrm_set_food_type::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

}  // namespace api
