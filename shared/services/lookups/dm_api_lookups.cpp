#include "dm_api_lookups.h"

#include <QLineEdit>

#include "widgets/db_grid.h"
#include "dm_api.h"
#include "fixed_decimals_delegate.h"
#include "logged_action.h"
#include "query.h"
#include "session.h"

namespace api {

namespace {

const QString kModule = QStringLiteral("dm_api");

// Binds the caller's query to the main connection and gives it the statement's lines.
void prepare(db::Query& query, std::initializer_list<QString> lines) {
    query.setConnection(&connection());
    query.close();
    query.clearSql();
    for (const QString& line : lines) query.addSql(line);
}

// The pupils' name filter: blanks list everyone (par_name_all = 0), anything else is
// compared as typed; the other parameter stays unbound (null).
void bindNameFilter(db::Query& query, const QString& name) {
    if (name.trimmed().isEmpty()) {
        query.param(QStringLiteral("par_name_all")).setInteger(0);
        query.param(QStringLiteral("par_name")).setNull();
    } else {
        query.param(QStringLiteral("par_name")).setText(name);
        query.param(QStringLiteral("par_name_all")).setNull();
    }
}

const QString kPupilColumns = QStringLiteral(
    "select t2.account_id, cast(t2.last_name as varchar(200)) as last_name ,cast(t2.first_name as varchar(200)) as "
    "first_name, cast(t2.middle_name as varchar(200)) as middle_name, t2.birth_day");

}  // namespace

// --- plain lists ---------------------------------------------------------------------------

void Tapi_dm_lookups::get_human_doc_type(db::Query& query) {
    prepare(query, {QStringLiteral("select t.doc_type_id, cast(t.name as varchar(50)) as name from public.ref_human_doc_type t where t.doc_type_id > 1")});
    query.open();
}

void Tapi_dm_lookups::get_type_news(db::Query& query) {
    prepare(query, {QStringLiteral("select t.id_type, cast(t.value as varchar(100)) as name from admin.ref_type_news t ")});
    query.open();
}

void Tapi_dm_lookups::get_school_name_list(db::Query& query) {
    prepare(query, {QStringLiteral("select cast(x_edu_org as varchar(100)) as x_edu_org, cast(x_school_name as varchar(200)) as x_school_name from public.get_schoolname_list()")});
    query.open();
}

void Tapi_dm_lookups::get_ref_pay_terminal(db::Query& query) {
    prepare(query, {QStringLiteral("select pay_terminal_id, name from dorv.ref_pay_terminal")});
    query.open();
}

void Tapi_dm_lookups::get_ae_ref_pay_terminal(db::Query& query) {
    prepare(query, {QStringLiteral("select pay_terminal_id, name from ref_pay_terminal")});
    query.open();
}

void Tapi_dm_lookups::get_list_corpus(db::Query& query) {
    prepare(query, {QStringLiteral("select c.corpus_id, c.name from ref_corpus c order by c.corpus_id asc")});
    query.open();
}

void Tapi_dm_lookups::get_teachers(db::Query& query) {
    prepare(query, {QStringLiteral("select 0 as id, cast('Не задан' as varchar(75))  as name from ref_ae_teacher t"),
                    QStringLiteral("union"),
                    QStringLiteral("select t.id_teacher as id, cast(t.full_name as varchar(75)) as name from ref_ae_teacher t"),
                    QStringLiteral("order by 1 asc")});
    query.open();
}

void Tapi_dm_lookups::get_list_months(QLineEdit* yearEdit, db::Query& query) {
    yearEdit->setText(QString::number(Tapi_dm::get_current_year()));
    prepare(query, {QStringLiteral("select cast(p.month_name as varchar(35)) as month_name, p.num_month from public.get_period(1,12,:year_id) p")});
    query.param(QStringLiteral("year_id")).setInteger(yearEdit->text().toInt());
    query.open();
}

void Tapi_dm_lookups::get_report_group(int group, db::Query& query) {
    const QString user = userName();
    const bool organisationTable = user == QLatin1String("admin") || user == QLatin1String("dorv_technolog");
    prepare(query, {organisationTable
                        ? QStringLiteral("select r.report_id, r.name, r.template, r.is_csv from dorv.sys_report r")
                        : QStringLiteral("select r.report_id, r.name, r.template, is_csv from sys_report r"),
                    QStringLiteral("where r.report_group = :group"),
                    QStringLiteral("order by r.report_id asc")});
    query.param(QStringLiteral("group")).setInteger(group);
    query.open();
}

void Tapi_dm_lookups::get_stat_agent_pay(db::Query& query, int payAgent, const QDate& begDate, const QDate& endDate,
                                         DbGrid* grid) {
    logged(kModule, [&] {
        prepare(query, {QStringLiteral("select entry_date, cast( sum(ammount) as numeric) as ammount from dorv.terminal_extract t1"),
                        QStringLiteral("where pay_terminal = :pay_agent and entry_date between :date_beg and :date_end"),
                        QStringLiteral("and exists(select 1 from dorv.sys_entry where doc_class = 7 and doc_no = t1.seq_no and entry_date between :date_beg and :date_end)"),
                        QStringLiteral("group by entry_date order by entry_date desc")});
        query.param(QStringLiteral("pay_agent")).setInteger(payAgent);
        query.param(QStringLiteral("date_beg")).setDate(begDate);
        query.param(QStringLiteral("date_end")).setDate(endDate);
        query.open();
        if (!grid) return;
        if (grid->query() != &query) grid->setQuery(&query);
        grid->setColumnTitle(QStringLiteral("entry_date"), QStringLiteral("Дата"));
        grid->setColumnWidthByName(QStringLiteral("entry_date"), 100);
        grid->setColumnTitle(QStringLiteral("ammount"), QStringLiteral("Сумма"));
        grid->setColumnWidthByName(QStringLiteral("ammount"), 130);
        const int sumColumn = grid->columnOf(QStringLiteral("ammount"));
        if (sumColumn >= 0 && !qobject_cast<FixedDecimalsDelegate*>(grid->itemDelegateForColumn(sumColumn)))
            grid->setItemDelegateForColumn(sumColumn, new FixedDecimalsDelegate(2, grid));
    });
}

// --- pupils of the signed-in school -------------------------------------------------------------

void Tapi_dm_lookups::Get_people_list_per_school(db::Query& query, const QString& name) {
    prepare(query, {QStringLiteral("select h.account_id, cast(h.last_name as varchar(200)) as last_name ,cast(h.first_name as varchar(200)) as first_name, cast(h.middle_name as varchar(200)) as middle_name, h.birth_day"),
                    QStringLiteral("from public.human h,"),
                    QStringLiteral("human_available ha"),
                    QStringLiteral("where h.account_id = ha.account_id"),
                    QStringLiteral("and (lower(h.last_name) like lower(:par_name) or (:par_name_all = 0))"),
                    QStringLiteral("order by h.last_name asc")});
    bindNameFilter(query, name);
    query.open();
}

void Tapi_dm_lookups::Get_people_list_per_school_w_attr(db::Query& query, const QString& name) {
    prepare(query, {QStringLiteral("select h.account_id, cast(h.last_name as varchar(200)) as last_name ,cast(h.first_name as varchar(200)) as first_name, cast(h.middle_name as varchar(200)) as middle_name, h.birth_day, attr"),
                    QStringLiteral("from public.human h,"),
                    QStringLiteral("human_available ha"),
                    QStringLiteral("where h.account_id = ha.account_id"),
                    QStringLiteral("and h.is_locked = 0"),
                    QStringLiteral("and (lower(h.last_name) like lower(:par_name) or (:par_name_all = 0))"),
                    QStringLiteral("order by h.last_name asc")});
    bindNameFilter(query, name);
    query.open();
}

void Tapi_dm_lookups::Get_people_list_per_school_w_accounting(db::Query& query, const QString& name,
                                                              const QDate& onDate) {
    logged(kModule, [&] {
        prepare(query, {kPupilColumns,
                        QStringLiteral("from human_available t1, public.human t2"),
                        QStringLiteral("where t1.account_id = t2.account_id"),
                        QStringLiteral("and t1.attr = 0"),
                        QStringLiteral("and t2.is_locked = 0"),
                        QStringLiteral("and not exists ("),
                        QStringLiteral("select 1 from sys_matrix where view = 1 "),
                        QStringLiteral("and account_id = t1.account_id "),
                        QStringLiteral("and get_node_saldo(node_id, :on_date, 0) <> 0) "),
                        QStringLiteral("and  (lower(t2.last_name) like lower(:par_name) or (:par_name_all = 0))"),
                        QStringLiteral("order by t2.last_name asc")});
        query.param(QStringLiteral("on_date")).setDate(onDate);
        bindNameFilter(query, name);
        query.open();
    });
}

void Tapi_dm_lookups::Get_people_list_per_school_w_accounting_special(db::Query& query, const QString& name,
                                                                      int groupId, const QDate& onDate) {
    logged(kModule, [&] {
        prepare(query, {kPupilColumns + QStringLiteral(", 0 as ch"),
                        QStringLiteral("from human_available t1, public.human t2"),
                        QStringLiteral("where t1.account_id = t2.account_id"),
                        QStringLiteral("and t1.attr = 0"),
                        QStringLiteral("and not exists ("),
                        QStringLiteral("select 1 from sys_matrix where view = 1 "),
                        QStringLiteral("and account_id = t1.account_id "),
                        QStringLiteral("and get_node_saldo(node_id, :on_date, 0) <> 0) "),
                        QStringLiteral("and t2.account_id not in ("),
                        QStringLiteral("   select t1.account_id from sys_matrix t1 where group_id = :gr_id and view = 8 and get_node_saldo(t1.node_id, :on_date, 0) <> 0"),
                        QStringLiteral(")"),
                        QStringLiteral("and  (lower(t2.last_name) like lower(:par_name) or (:par_name_all = 0))"),
                        QStringLiteral("order by t2.last_name asc")});
        query.param(QStringLiteral("gr_id")).setInteger(groupId);
        query.param(QStringLiteral("on_date")).setDate(onDate);
        bindNameFilter(query, name);
        query.open();
    });
}

// --- classes of a building on a date -------------------------------------------------------------

void Tapi_dm_lookups::get_list_parallel(db::Query& query, int corpus, const QString& onDate) {
    prepare(query, {QStringLiteral("select distinct  t3.paralel_id as paralel"),
                    QStringLiteral("from sys_matrix t1,public.ref_paralel t3,ref_class t4"),
                    QStringLiteral("where view = 3 and get_node_saldo(t1.node_id, :on_date, 0) <> 0 and t1.paralel = t3.paralel_id and t1.class = t4.class_id and t4.corpus = :corpus"),
                    QStringLiteral("  order by t3.paralel_id")});
    query.param(QStringLiteral("on_date")).setText(onDate);
    query.param(QStringLiteral("corpus")).setInteger(corpus);
    query.open();
}

void Tapi_dm_lookups::get_list_all_parallel(db::Query& query, const QString& onDate) {
    prepare(query, {QStringLiteral("select distinct  t3.paralel_id as paralel"),
                    QStringLiteral("from sys_matrix t1,public.ref_paralel t3,ref_class t4"),
                    QStringLiteral("where view = 3 and get_node_saldo(t1.node_id, :on_date, 0) <> 0 and t1.paralel = t3.paralel_id and t1.class = t4.class_id "),
                    QStringLiteral("  order by t3.paralel_id")});
    query.param(QStringLiteral("on_date")).setText(onDate);
    query.open();
}

void Tapi_dm_lookups::get_list_class_name(db::Query& query, int corpus, const QString& parallel,
                                          const QString& onDate) {
    prepare(query, {QStringLiteral("select distinct  t4.name, t1.paralel as paralel, t4.class_id"),
                    QStringLiteral("from sys_matrix t1, ref_class t4"),
                    QStringLiteral("where view = 3 and get_node_saldo(t1.node_id, :on_date, 0) <> 0 and t1.paralel = :paralel_id and t1.class = t4.class_id and t4.corpus = :corpus"),
                    QStringLiteral("order by t4.name")});
    query.param(QStringLiteral("on_date")).setText(onDate);
    query.param(QStringLiteral("paralel_id")).setText(parallel);
    query.param(QStringLiteral("corpus")).setInteger(corpus);
    query.open();
}

}  // namespace api
