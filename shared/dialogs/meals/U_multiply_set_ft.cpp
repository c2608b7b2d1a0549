#include "U_multiply_set_ft.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "dialog_tag.h"
#include "logged_action.h"
#include "query.h"
#include "registry.h"
#include "session.h"
#include "widgets/db_grid.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_multiply_set_ft);

namespace {

constexpr int kMixedFunding = 666;
constexpr int kEveryRation = 999;

void prepare(db::Query& query, const QStringList& lines) {
    query.setConnection(&connection());
    query.close();
    query.clearSql();
    for (const QString& line : lines) query.addSql(line);
}

}  // namespace

Tfrm_multiply_set_ft::Tfrm_multiply_set_ft(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_multiply_set_ft"));
    z_pay_funds = new db::Query(this);
    z_pay_funds->setObjectName(QStringLiteral("z_pay_funds"));
    grid_pay_funds = new DbGrid(this);
    grid_pay_funds->setObjectName(QStringLiteral("grid_pay_funds"));
    grid_pay_funds->setQuery(z_pay_funds);
    grid_pay_funds->setReadOnly(true);
    z_ft_list = new db::Query(this);
    z_ft_list->setObjectName(QStringLiteral("z_ft_list"));
    grid_ft = new DbGrid(this);
    grid_ft->setObjectName(QStringLiteral("grid_ft"));
    grid_ft->setQuery(z_ft_list);
    grid_ft->setReadOnly(true);
    btn_save_sel_ration_for_cl = new QPushButton(QStringLiteral("Выставить"), this);
    btn_save_sel_ration_for_cl->setObjectName(QStringLiteral("btn_save_sel_ration_for_cl"));

    auto* grids = new QHBoxLayout;
    grids->addWidget(grid_pay_funds, 1);
    grids->addWidget(grid_ft, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addWidget(btn_save_sel_ration_for_cl, 0, Qt::AlignRight);
    resize(800, 420);

    connect(grid_pay_funds, &QAbstractItemView::clicked, this, &Tfrm_multiply_set_ft::grid_pay_fundsCellClick);
    connect(btn_save_sel_ration_for_cl, &QPushButton::clicked, this,
            &Tfrm_multiply_set_ft::btn_save_sel_ration_for_clClick);
}

void Tfrm_multiply_set_ft::get_list_pay_fund(db::Query& query) {
    prepare(query, {QStringLiteral("select f.pay_fund_id, cast(f.\"name\" as varchar(400)) as \"name\", "),
                    QStringLiteral(" cast(case when pay_fund_id = 1 then 'found_parent'"),
                    QStringLiteral(" when pay_fund_id = 2 then 'found_dorv'"),
                    QStringLiteral(" when pay_fund_id = 3 then 'found_privilege'"),
                    QStringLiteral(" when pay_fund_id = 4 then 'found_subsidy'"),
                    QStringLiteral(" when pay_fund_id = 5 then 'found_ovz'"),
                    QStringLiteral(" when pay_fund_id = 6 then 'found_staff'"),
                    QStringLiteral(" when pay_fund_id = 7 then 'found_junior'"),
                    QStringLiteral(" when pay_fund_id = 8 then 'found_mob'"),
                    QStringLiteral(" when pay_fund_id = 9 then 'found_fam'"),
                    QStringLiteral(" end as varchar(100)) as found_name "),
                    QStringLiteral("from public.ref_pay_fund f"),
                    QStringLiteral("where f.pay_fund_id > 0"),
                    QStringLiteral("union all"),
                    QStringLiteral("select '999' as pay_fund_id, cast('Все типы питания' as varchar(400)) as \"name\", cast('virt' as varchar(100)) as found_name "),
                    QStringLiteral("order by pay_fund_id asc")});
    query.open();
}

void Tfrm_multiply_set_ft::get_list_ft(db::Query& query) {
    const int fund = z_pay_funds->recordCount() ? int(z_pay_funds->field(QStringLiteral("pay_fund_id")).asInteger()) : 0;
    const QString column = z_pay_funds->recordCount() ? z_pay_funds->field(QStringLiteral("found_name")).asString() : QString();
    if (fund == kMixedFunding) {
        prepare(query, {QStringLiteral("with rations as "), QStringLiteral("("), QStringLiteral("WITH found_columns AS ("),
                        QStringLiteral("SELECT column_name"), QStringLiteral("FROM information_schema.columns"),
                        QStringLiteral("WHERE table_schema = 'public' "), QStringLiteral("AND table_name = 'mealref_type' "),
                        QStringLiteral("AND column_name LIKE 'found_%' "), QStringLiteral("AND data_type = 'integer' "),
                        QStringLiteral(")"), QStringLiteral("SELECT t.*"), QStringLiteral("FROM mealref_type t"),
                        QStringLiteral("WHERE ("), QStringLiteral("select COUNT(*)"),
                        QStringLiteral("FROM jsonb_each_text(to_jsonb(t)) AS j(key, value)"),
                        QStringLiteral("WHERE j.key IN (SELECT column_name FROM found_columns)"),
                        QStringLiteral("AND j.value IS NOT NULL"), QStringLiteral(") >= 2"), QStringLiteral(")"),
                        QStringLiteral("select dr.daily_ration_id, dr.name "),
                        QStringLiteral("from rations, public.ref_daily_ration_sp sp, public.ref_daily_ration dr, daily_ration_available ra"),
                        QStringLiteral("where sp.food_type = rations.food_type_id"),
                        QStringLiteral("and dr.daily_ration_id = sp.daily_ration"),
                        QStringLiteral("and sp.daily_ration = ra.daily_ration_id"), QStringLiteral("and ra.attr = 1"),
                        QStringLiteral("and ra.corpus_id = :corpus_id"), QStringLiteral("order by name asc")});
    } else if (fund == kEveryRation) {
        prepare(query, {QStringLiteral("select r.daily_ration_id, cast(r.name as varchar(500)) as name from public.ref_daily_ration r, daily_ration_available a"),
                        QStringLiteral("where a.daily_ration_id = r.daily_ration_id"),
                        QStringLiteral("and a.corpus_id = :corpus_id"), QStringLiteral("order by name asc")});
    } else {
        // The fund's column of the meal-type table is spliced into the text: only a name of
        // the form found_xxx is accepted, anything else (a fund without a column) lists nothing.
        static const QRegularExpression columnName(QStringLiteral("^found_[a-z]+$"));
        if (!columnName.match(column).hasMatch()) {
            query.close();
            return;
        }
        prepare(query, {QStringLiteral("select t2.daily_ration_id, t2.name"), QStringLiteral("from"),
                        QStringLiteral("daily_ration_available t1, public.ref_daily_ration t2 "), QStringLiteral("where"),
                        QStringLiteral("t1.daily_ration_id = t2.daily_ration_id and "),
                        QStringLiteral("t1.corpus_id = :corpus_id and t2.disabled = 0 and"),
                        QStringLiteral("exists(select 1 from public.ref_daily_ration_sp t3, public.mealref_type t4 "),
                        QStringLiteral("where "), QStringLiteral("t3.food_type = t4.food_type_id and"),
                        QStringLiteral("t3.daily_ration = t1.daily_ration_id and"),
                        QStringLiteral("not t4.") + column + QStringLiteral("  is null)"), QStringLiteral("order by name asc")});
    }
    query.param(QStringLiteral("corpus_id")).setInteger(corpus_id);
    query.open();
    grid_ft->setColumnTitle(QStringLiteral("daily_ration_id"), QStringLiteral("Код"));
    grid_ft->setColumnWidthByName(QStringLiteral("daily_ration_id"), 50);
    grid_ft->setColumnTitle(QStringLiteral("name"), QStringLiteral("Рацион"));
    grid_ft->setColumnWidthByName(QStringLiteral("name"), 400);
}

void Tfrm_multiply_set_ft::FormShow() {
    logged(QStringLiteral("dm_api"), [this] {
        get_list_pay_fund(*z_pay_funds);
        grid_pay_funds->setColumnHiddenByName(QStringLiteral("pay_fund_id"), true);
        grid_pay_funds->setColumnHiddenByName(QStringLiteral("found_name"), true);
        grid_pay_funds->setColumnTitle(QStringLiteral("name"), QStringLiteral("Тип"));
        get_list_ft(*z_ft_list);
    });
}

void Tfrm_multiply_set_ft::grid_pay_fundsCellClick() {
    logged(QStringLiteral("dm_api"), [this] { get_list_ft(*z_ft_list); });
}

void Tfrm_multiply_set_ft::btn_save_sel_ration_for_clClick() {
    setTag(btn_save_sel_ration_for_cl, kTagConfirmed);
    accept();
}

void Tfrm_multiply_set_ft::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

}  // namespace api
