#include "Unit_refused_pay_list_date.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QPushButton>

#include "logged_action.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_refused_pay_list_days);

namespace {
const QString kModule = QStringLiteral("dm_api");
}

Tfrm_refused_pay_list_days::Tfrm_refused_pay_list_days(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_refused_pay_list_days"));
    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    z_refused_days = new db::Query(this);
    z_refused_days->setObjectName(QStringLiteral("z_refused_days"));
    grid_refused_paylist_date = new DbGrid(this);
    grid_refused_paylist_date->setObjectName(QStringLiteral("grid_refused_paylist_date"));
    grid_refused_paylist_date->setQuery(z_refused_days);
    grid_refused_paylist_date->setReadOnly(true);
    btn_go = new QPushButton(QStringLiteral("Сохранить"), this);
    btn_go->setObjectName(QStringLiteral("btn_go"));
    Button1 = new QPushButton(QStringLiteral("Удалить"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(MonthCalendar1, 0, 0);
    layout->addWidget(grid_refused_paylist_date, 0, 1);
    layout->addWidget(btn_go, 1, 0);
    layout->addWidget(Button1, 1, 1);
    connect(btn_go, &QPushButton::clicked, this, &Tfrm_refused_pay_list_days::btn_goClick);
    connect(Button1, &QPushButton::clicked, this, &Tfrm_refused_pay_list_days::Button1Click);
}

void Tfrm_refused_pay_list_days::get_refused_pay_list_days(db::Query& query) {
    logged(kModule, [&] {
        query.setConnection(&connection());
        query.close();
        query.clearSql();
        query.addSql(QStringLiteral("select entry_date from dorv.refused_paylist_date order by entry_date desc"));
        query.open();
    });
}

void Tfrm_refused_pay_list_days::insert_refused_date(const QDate& date, const QString& note) {
    logged(kModule, [&] {
        db::Query q(&connection());
        q.addSql(QStringLiteral("select * from dorv.set_refused_paylist_date(:entry_date, :p_note)"));
        q.param(QStringLiteral("entry_date")).setDate(date);
        q.param(QStringLiteral("p_note")).setText(note);
        q.exec();
    });
}

void Tfrm_refused_pay_list_days::delete_refused_pay_list_date(const QDate& date) {
    logged(kModule, [&] {
        db::Query q(&connection());
        q.addSql(QStringLiteral("delete from dorv.refused_paylist_date where entry_date = :p_entry_date"));
        q.param(QStringLiteral("p_entry_date")).setDate(date);
        q.exec();
    });
}

void Tfrm_refused_pay_list_days::FormShow() {
    get_refused_pay_list_days(*z_refused_days);
    grid_refused_paylist_date->setColumnTitle(QStringLiteral("entry_date"), QStringLiteral("Дата"));
}

void Tfrm_refused_pay_list_days::btn_goClick() {
    insert_refused_date(MonthCalendar1->selectedDate(), QStringLiteral("111"));
    get_refused_pay_list_days(*z_refused_days);
}

void Tfrm_refused_pay_list_days::Button1Click() {
    if (z_refused_days->recordCount() == 0) return;
    delete_refused_pay_list_date(z_refused_days->field(QStringLiteral("entry_date")).asDate());
    get_refused_pay_list_days(*z_refused_days);
}

void Tfrm_refused_pay_list_days::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

}  // namespace api
