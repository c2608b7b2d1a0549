#pragma once
// Tapi_dm: the stateless shared services every module calls — the message log, news read
// marks, feature switches, the server's dates, organisation properties, person and school
// look-ups, privilege periods, the program version.
//
// Routines marked "logged" write a failure to admin.message_log (module "dm_api") and
// raise a plain api::AppError with the same text; the others let db::DbError through.

#include <QDate>
#include <QString>

#include "api_export.h"

class QDateEdit;

namespace api {

class API_EXPORT Tapi_dm {
public:
    Tapi_dm() = delete;

    // --- logging, news, switches ---
    static void put_log(const QString& schema, const QString& message, const QString& module);
    static void mark_news_as_readed(int newsId, const QString& userName);
    static bool get_acl_list_for_function(const QString& functionName);

    // --- organisation properties ---
    static QString get_dorv_org_name();
    static QString get_menu_link_name();
    static void get_range_date_in_table(QDateEdit* start, QDateEdit* end);

    // --- server dates (logged) ---
    static QDate get_curr_date();
    static QDate get_yesterday_date();
    static QDate get_current_date_minus_30_days();
    static int get_current_year();
    static int get_current_month();
    static QDate get_last_date(const QDate& onDate);
    static QDate build_date_from_src(int year, int month);
    static int get_number_selected_month(const QDate& entryDate);
    static QString get_month_length(int month, int year);
    static void get_range_date(QDateEdit* start, QDateEdit* end);
    static void get_range_date_v2(QDateEdit* start, QDateEdit* end);
    static void get_range_date_for_current_month(int month, QDateEdit* start, QDateEdit* end);
    static QString get_max_calc_date(const QString& tableName);  // not logged
    static QDate get_min_sms_date();                              // not logged

    // --- persons and schools (logged) ---
    static QString get_fullname_by_id(int accountId);
    static QString get_school_corpus_name(const QString& schema, const QString& note);

    // --- privilege periods and pupil attributes (not logged) ---
    static void set_priv_period(int accountId, int action, const QDate& date);
    static void set_priv_period_end_date(int month, int year, int accountId, const QDate& begDate,
                                         const QDate& entryDate);
    static void set_is_invalid_attr(int attr, int accountId);

    // --- environment ---
    // The version stamped into a program or plug-in file by the build; empty when the
    // name is empty, the file is missing or carries no version.
    static QString GetFileVersion(const QString& fileName);
    // "Excel.Application": whether the desktop has a default spreadsheet application.
    static bool IsOLEObjectInstalled(const QString& programId);
};

}  // namespace api
