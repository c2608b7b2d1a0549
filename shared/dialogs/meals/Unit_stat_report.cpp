#include "Unit_stat_report.h"

#include <QVBoxLayout>

#include "dates.h"
#include "logged_action.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_stat_report);

Tfrm_stat_report::Tfrm_stat_report(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_stat_report"));
    z_report = new db::Query(this);
    z_report->setObjectName(QStringLiteral("z_report"));
    stats_report_grid = new DbGrid(this);
    stats_report_grid->setObjectName(QStringLiteral("stats_report_grid"));
    stats_report_grid->setQuery(z_report);
    stats_report_grid->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stats_report_grid);
    resize(400, 300);
}

void Tfrm_stat_report::FormShow() {
    logged(QStringLiteral("dm_api"), [this] {
        z_report->setConnection(&connection());
        z_report->close();
        z_report->clearSql();
        z_report->addSql(QStringLiteral("select cast(dr.\"name\" as varchar(120)) as r_name , cast(count(t3.account_id) as varchar(120)) as r_count from sys_matrix t1, pay_list_sp t3, public.ref_daily_ration dr "));
        z_report->addSql(QStringLiteral("where view = 1 and get_node_saldo(t1.node_id, :on_date, 0) <> 0 and t1.account_id = t3.account_id and dr.daily_ration_id  = t3.daily_ration and t3.attr = 1 and t1.paralel = :paralel_id "));
        z_report->addSql(QStringLiteral("\tand t1.class = :class_id and t3.doc_no = :doc_no group by dr.\"name\" order by dr.\"name\" asc "));
        z_report->param(QStringLiteral("on_date")).setText(toShortDate(on_date));
        z_report->param(QStringLiteral("paralel_id")).setInteger(paralel_id);
        z_report->param(QStringLiteral("class_id")).setInteger(class_id);
        z_report->param(QStringLiteral("doc_no")).setInteger(doc_no);
        z_report->open();
        stats_report_grid->setColumnTitle(QStringLiteral("r_name"), QStringLiteral("Рацион"));
        stats_report_grid->setColumnWidthByName(QStringLiteral("r_name"), 250);
        stats_report_grid->setColumnTitle(QStringLiteral("r_count"), QStringLiteral("Число питающихся"));
        stats_report_grid->setColumnWidthByName(QStringLiteral("r_count"), 110);
    });
}

void Tfrm_stat_report::FormCloseQuery() { z_report->close(); }

void Tfrm_stat_report::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tfrm_stat_report::done(int result) {
    FormCloseQuery();
    QDialog::done(result);
}

}  // namespace api
