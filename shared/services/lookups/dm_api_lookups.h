#pragma once
// The shared look-up lists: each routine fills a query the caller owns (usually shown in a
// grid or a drop-down list). It binds the query to the main connection, closes it, replaces
// its text with the statement's lines, binds the parameters and opens it; the caller then
// reads the named columns.
//
// Routines marked "logged" write a failure to admin.message_log (module "dm_api") and raise
// api::AppError with the same text; the others let db::DbError through.

#include <QDate>
#include <QString>

#include "api_export.h"

class QLineEdit;

namespace db { class Query; }

namespace api {

class DbGrid;

class API_EXPORT Tapi_dm_lookups {
public:
    Tapi_dm_lookups() = delete;

    // --- plain lists ---
    static void get_human_doc_type(db::Query& query);       // doc_type_id, name
    static void get_type_news(db::Query& query);            // id_type, name
    static void get_school_name_list(db::Query& query);     // x_edu_org, x_school_name
    static void get_ref_pay_terminal(db::Query& query);     // the organisation's terminals
    static void get_ae_ref_pay_terminal(db::Query& query);  // the signed-in school's terminals
    static void get_list_corpus(db::Query& query);          // corpus_id, name
    // id, name; "Не задан" (id 0) first when the school has at least one teacher.
    static void get_teachers(db::Query& query);
    // Writes the server's current year into yearEdit, then lists the months of the year
    // typed there: month_name, num_month.
    static void get_list_months(QLineEdit* yearEdit, db::Query& query);
    // report_id, name, template, is_csv of a report group: admin and dorv_technolog read
    // dorv.sys_report, every other login the sys_report its search path finds.
    static void get_report_group(int group, db::Query& query);
    // Daily totals of a payment agent's posted payments (logged); lays out the grid.
    static void get_stat_agent_pay(db::Query& query, int payAgent, const QDate& begDate, const QDate& endDate,
                                   DbGrid* grid);

    // --- pupils of the signed-in school, filtered by last name ---
    // A filter of blanks lists everyone; any other filter is compared with like as typed
    // (wildcards are the caller's), case-insensitively.
    static void Get_people_list_per_school(db::Query& query, const QString& name);
    static void Get_people_list_per_school_w_attr(db::Query& query, const QString& name);
    // Tracked, unlocked pupils who are in no class on the date (logged).
    static void Get_people_list_per_school_w_accounting(db::Query& query, const QString& name, const QDate& onDate);
    // Tracked pupils in no class on the date and not in the group (logged).
    static void Get_people_list_per_school_w_accounting_special(db::Query& query, const QString& name, int groupId,
                                                                const QDate& onDate);

    // --- classes of a building present on a date (the date as short-format text) ---
    static void get_list_parallel(db::Query& query, int corpus, const QString& onDate);
    static void get_list_all_parallel(db::Query& query, const QString& onDate);
    static void get_list_class_name(db::Query& query, int corpus, const QString& parallel, const QString& onDate);
};

}  // namespace api
