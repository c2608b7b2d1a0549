#include "dm_api.h"

#include <QDateEdit>
#include <QFile>

#include "desktop.h"
#include "logged_action.h"
#include "query.h"
#include "session.h"

namespace api {

namespace {

const QString kModule = QStringLiteral("dm_api");

// A temporary query on the main connection with the given lines.
struct Temp {
    db::Query q;
    explicit Temp(std::initializer_list<QString> lines) : q(&connection()) {
        for (const QString& line : lines) q.addSql(line);
    }
    db::Query* operator->() { return &q; }
};

QDate singleDate(const QString& sql, const QString& column) {
    return logged(kModule, [&] {
        Temp t{sql};
        t->open();
        return t->field(column).asDate();
    });
}

void setPicker(QDateEdit* picker, const QDate& date) {
    if (picker && date.isValid()) picker->setDate(date);
}

}  // namespace

// --- logging, news, switches ------------------------------------------------------------------

void Tapi_dm::put_log(const QString& schema, const QString& message, const QString& module) {
    Temp t{QStringLiteral("insert into admin.message_log (SCHEMA, entry_date, MESSAGE, module_name, attr, view) values (:x_schema, now(), :x_message, :x_module, 1,0); ")};
    t->param("x_schema").setText(schema);
    t->param("x_message").setText(message);
    t->param("x_module").setText(module);
    t->exec();
}

void Tapi_dm::mark_news_as_readed(int newsId, const QString& userName) {
    Q_UNUSED(userName);  // the server marks the item for the signed-in user
    Temp t{QStringLiteral("select * from admin.mark_news_for_user(:x_id_news, :x_user_name)")};
    t->param("x_id_news").setInteger(newsId);
    t->param("x_user_name").setText(api::userName());
    t->exec();
}

bool Tapi_dm::get_acl_list_for_function(const QString& functionName) {
    Temp t{QStringLiteral("select a.status from admin.acl_sch_func a"),
           QStringLiteral("where a.func_name = :func_name")};
    t->param("func_name").setText(functionName);
    t->open();
    // A missing row is "off"; so is any status but 1.
    return t->recordCount() > 0 && t->field("status").asInteger() == 1;
}

// --- organisation properties ------------------------------------------------------------------

QString Tapi_dm::get_dorv_org_name() {
    Temp t{QStringLiteral("select property_value as value from dorv.ref_property where name = 'Name_org' ")};
    t->open();
    return t->field("value").asString();
}

QString Tapi_dm::get_menu_link_name() {
    Temp t{QStringLiteral("select property_value as value from dorv.ref_property where name = 'menu_link' ")};
    t->open();
    return t->field("value").asString();
}

void Tapi_dm::get_range_date_in_table(QDateEdit* start, QDateEdit* end) {
    Temp b{QStringLiteral("select p.property_value from dorv.ref_property p where p.name = 'beg_date_interval' ")};
    b->open();
    setPicker(start, b->field("property_value").asDate());
    Temp e{QStringLiteral("select p.property_value from dorv.ref_property p where p.name = 'end_date_interval' ")};
    e->open();
    setPicker(end, e->field("property_value").asDate());
}

// --- server dates -----------------------------------------------------------------------------

QDate Tapi_dm::get_curr_date() {
    return singleDate(QStringLiteral("select current_date as curr_date"), QStringLiteral("curr_date"));
}

QDate Tapi_dm::get_yesterday_date() {
    return singleDate(QStringLiteral("select current_date - interval '1 day' as curr_date"),
                      QStringLiteral("curr_date"));
}

QDate Tapi_dm::get_current_date_minus_30_days() {
    return singleDate(QStringLiteral("select current_date - interval '30 days' as min_date"),
                      QStringLiteral("min_date"));
}

int Tapi_dm::get_current_year() {
    return logged(kModule, [] {
        Temp t{QStringLiteral("select * from public.get_current_year()")};
        t->open();
        return int(t->field("get_current_year").asInteger());
    });
}

int Tapi_dm::get_current_month() {
    return logged(kModule, [] {
        Temp t{QStringLiteral("select * from public.get_current_month()")};
        t->open();
        return int(t->field("get_current_month").asInteger());
    });
}

QDate Tapi_dm::get_last_date(const QDate& onDate) {
    return logged(kModule, [&] {
        Temp t{QStringLiteral("select * from public.get_last_date(:on_date) as last_date")};
        t->param("on_date").setDate(onDate);
        t->open();
        return t->field("last_date").asDate();
    });
}

QDate Tapi_dm::build_date_from_src(int year, int month) {
    return logged(kModule, [&] {
        Temp t{QStringLiteral("select * from public.build_date_from_src(:y,:m) as last_date")};
        t->param("y").setInteger(year);
        t->param("m").setInteger(month);
        t->open();
        return t->field("last_date").asDate();
    });
}

int Tapi_dm::get_number_selected_month(const QDate& entryDate) {
    return logged(kModule, [&] {
        Temp t{QStringLiteral("select * from public.get_number_selected_month(:entry_date) ")};
        t->param("entry_date").setDate(entryDate);
        t->open();
        return int(t->field("get_number_selected_month").asInteger());
    });
}

QString Tapi_dm::get_month_length(int month, int year) {
    return logged(kModule, [&] {
        Temp t{QStringLiteral("select substr(to_char(generate_series(cast(p.beg_date as date), cast(p.end_date as date), '1 day' ),'dd.mm.yyyy'),1,2) as interval from public.get_period(:p_month,:p_month,:p_year) p order by 1 desc limit 1")};
        t->param("p_month").setInteger(month);
        t->param("p_year").setInteger(year);
        t->open();
        return t->field("interval").asString();
    });
}

void Tapi_dm::get_range_date(QDateEdit* start, QDateEdit* end) {
    logged(kModule, [&] {
        Temp t{QStringLiteral("select date_trunc('month',current_date) as beg_date, current_date as curr_date")};
        t->open();
        setPicker(start, t->field("beg_date").asDate());
        setPicker(end, t->field("curr_date").asDate());
    });
}

void Tapi_dm::get_range_date_v2(QDateEdit* start, QDateEdit* end) {
    logged(kModule, [&] {
        Temp day{QStringLiteral("select extract (day from current_date) as current_day_of_month")};
        day->open();
        const bool firstOfMonth = day->field("current_day_of_month").asInteger() == 1;
        Temp t{firstOfMonth
                   ? QStringLiteral("select date_trunc('month',current_date) - interval '1 day' as beg_date, current_date as curr_date")
                   : QStringLiteral("select date_trunc('month',current_date) as beg_date, current_date as curr_date")};
        t->open();
        setPicker(start, t->field("beg_date").asDate());
        setPicker(end, t->field("curr_date").asDate());
    });
}

void Tapi_dm::get_range_date_for_current_month(int month, QDateEdit* start, QDateEdit* end) {
    logged(kModule, [&] {
        Temp t{QStringLiteral("select x_beg_date, x_end_date from public.get_period_per_month(:x_month)")};
        t->param("x_month").setInteger(month);
        t->open();
        setPicker(start, t->field("x_beg_date").asDate());
        setPicker(end, t->field("x_end_date").asDate());
    });
}

QString Tapi_dm::get_max_calc_date(const QString& tableName) {
    Temp t{QStringLiteral("select get_descr_for_tbl as descr from public.get_descr_for_tbl(:tbl_name)")};
    t->param("tbl_name").setText(tableName);
    t->open();
    return t->field("descr").asString();
}

QDate Tapi_dm::get_min_sms_date() {
    Temp t{QStringLiteral("select cast(min(sent_date)as date) as min_date from sms.sms_log")};
    t->open();
    return t->field("min_date").asDate();
}

// --- persons and schools ------------------------------------------------------------------------

QString Tapi_dm::get_fullname_by_id(int accountId) {
    return logged(kModule, [&] {
        Temp t{QStringLiteral("select * from public.get_people_fullname_by_id(:account_id) as fullname")};
        t->param("account_id").setInteger(accountId);
        t->open();
        if (t->recordCount() == 0 || t->field("fullname").isNull())
            return QStringLiteral("Учащийся с номером счета ") + QString::number(accountId) +
                   QStringLiteral(" не найден");
        return t->field("fullname").asString();
    });
}

QString Tapi_dm::get_school_corpus_name(const QString& schema, const QString& note) {
    return logged(kModule, [&] {
        Temp t{QStringLiteral("select o.name from ") + schema + QStringLiteral(". ref_corpus o where o.note = :note ")};
        t->param("note").setText(note);
        t->open();
        if (t->recordCount() == 0) return QStringLiteral("Название организации не определено");
        return t->field("name").asString();
    });
}

// --- privilege periods and pupil attributes --------------------------------------------------

void Tapi_dm::set_priv_period(int accountId, int action, const QDate& date) {
    Temp t{QStringLiteral("select * from dorv.set_priv_period(:p_account_id, :p_beg_date, :p_end_date, :p_action, :p_entry_date)")};
    t->param("p_account_id").setInteger(accountId);
    t->param("p_beg_date").setDate(date);
    t->param("p_end_date").setDate(date);
    t->param("p_action").setInteger(action);
    t->param("p_entry_date").setDate(date);
    t->exec();
}

void Tapi_dm::set_priv_period_end_date(int month, int year, int accountId, const QDate& begDate,
                                       const QDate& entryDate) {
    Temp t{QStringLiteral("select * from dorv.set_priv_end_date(:p_month,:p_year,:p_account_id, :p_beg_date, :p_entry_date)")};
    t->param("p_month").setInteger(month);
    t->param("p_year").setInteger(year);
    t->param("p_account_id").setInteger(accountId);
    t->param("p_beg_date").setDate(begDate);
    t->param("p_entry_date").setDate(entryDate);
    t->exec();
}

void Tapi_dm::set_is_invalid_attr(int attr, int accountId) {
    Temp t{attr != 0
               ? QStringLiteral("update public.human set is_invalid = :attr where account_id = :account_id ")
               : QStringLiteral("update public.human set is_invalid = null where account_id = :account_id ")};
    if (attr != 0) t->param("attr").setInteger(attr);
    t->param("account_id").setInteger(accountId);
    t->exec();
}

// --- environment --------------------------------------------------------------------------------

QString Tapi_dm::GetFileVersion(const QString& fileName) {
    if (fileName.isEmpty()) return {};
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // Built from pieces so this library itself does not carry the marker.
    static const QByteArray marker = QByteArray("DORV-FILE-") + "VERSION:";
    const QByteArray content = file.readAll();
    const qsizetype at = content.indexOf(marker);
    if (at < 0) return {};
    const qsizetype begin = at + marker.size();
    qsizetype end = begin;
    while (end < content.size() && content[end] != '\0' && end - begin < 64) ++end;
    return QString::fromLatin1(content.mid(begin, end - begin));
}

bool Tapi_dm::IsOLEObjectInstalled(const QString& programId) {
    if (programId.compare(QLatin1String("Excel.Application"), Qt::CaseInsensitive) == 0)
        return desktop().hasSpreadsheetApplication();
    return false;
}

}  // namespace api
