// Every statement the client sends must be accepted by the server as the login that
// sends it: names resolve through that login's search path and the login holds the
// privileges. Each statement is planned (EXPLAIN) with parameters of its own types inside
// a transaction that is rolled back, so nothing changes.

#include <gtest/gtest.h>

#include <QSet>

#include "db_error.h"
#include "query.h"
#include "statement_catalogue.h"
#include "test_cluster.h"

namespace {

// Areas whose statements the server serves so far. An area is added when its windows
// are built; the entries of the other areas are reported as skipped.
const QSet<QString> kServedFiles = {QStringLiteral("main"), QStringLiteral("orgprops"),
                                     QStringLiteral("meal_dialogs"), QStringLiteral("mealref"),
                                     QStringLiteral("mealbook")};
const QSet<QString> kServedRoutines = {
    "put_log", "mark_news_as_readed", "get_acl_list_for_function", "get_dorv_org_name",
    "get_menu_link_name", "get_range_date_in_table", "get_curr_date", "get_yesterday_date",
    "get_current_date_minus_30_days", "get_current_year", "get_current_month", "get_last_date",
    "build_date_from_src", "get_number_selected_month", "get_month_length", "get_range_date",
    "get_range_date_v2", "get_range_date_for_current_month", "get_max_calc_date",
    "get_min_sms_date", "get_fullname_by_id", "get_school_corpus_name", "set_priv_period",
    "set_priv_period_end_date", "set_is_invalid_attr",
    // shared look-up lists and generic dialogs
    "get_human_doc_type", "get_type_news", "get_school_name_list", "get_ref_pay_terminal",
    "get_ae_ref_pay_terminal", "get_list_corpus", "get_teachers", "get_list_months", "get_report_group",
    "get_stat_agent_pay", "Get_people_list_per_school", "Get_people_list_per_school_w_attr",
    "Get_people_list_per_school_w_accounting", "Get_people_list_per_school_w_accounting_special",
    "get_list_parallel", "get_list_all_parallel", "get_list_class_name", "Tfrm_legend.FormShow"};

bool served(const CatalogueStatement& s) {
    return kServedFiles.contains(s.file) || kServedRoutines.contains(s.name.section(u'#', 0, 0));
}

QStringList loginsOf(const CatalogueStatement& s) {
    if (s.login == QLatin1String("school")) return {QStringLiteral("school_001")};
    if (s.login == QLatin1String("any")) return {QStringLiteral("school_001"), QStringLiteral("dorv")};
    return {s.login};
}

void bindSample(db::Param& p, const QString& type) {
    if (type == QLatin1String("int")) p.setInteger(1);
    else if (type == QLatin1String("float")) p.setFloat(1.5);
    else if (type == QLatin1String("date")) p.setDate(QDate(2024, 9, 2));
    else if (type == QLatin1String("datetime")) p.setDateTime(QDateTime(QDate(2024, 9, 2), QTime(10, 0)));
    else if (type == QLatin1String("textdate")) p.setText(QStringLiteral("02.09.2024"));
    else if (type == QLatin1String("bool")) p.setBool(true);
    else p.setText(QStringLiteral("1"));
}

const QList<CatalogueStatement>& catalogue() {
    static const QList<CatalogueStatement> all = loadCatalogue(QStringLiteral(DORV_STATEMENTS_DIR));
    return all;
}

// The entries of the areas served so far; the others come with their areas.
std::vector<int> servedEntries() {
    std::vector<int> entries;
    for (int i = 0; i < int(catalogue().size()); ++i)
        if (served(catalogue().at(i))) entries.push_back(i);
    return entries;
}

class StatementAcceptanceTest : public ::testing::TestWithParam<int> {};

TEST_P(StatementAcceptanceTest, AcceptedAsItsLogin) {
    const CatalogueStatement& s = catalogue().at(GetParam());
    QString sql = s.sql;
    if (s.spliced) sql.replace(QLatin1String("{schema}"), QLatin1String("school_001"));
    for (const QString& login : loginsOf(s)) {
        auto conn = testsupport::connectAs(login);
        conn->execute(QStringLiteral("begin"));
        db::Query q(conn.get());
        q.addSql(QStringLiteral("explain"));
        for (const QString& line : sql.split(u'\n')) q.addSql(line);
        for (const auto& [name, type] : s.params) bindSample(q.param(name), type);
        try {
            q.open();
        } catch (const db::DbError& e) {
            ADD_FAILURE() << s.file.toStdString() << "/" << s.name.toStdString() << " as " << login.toStdString()
                          << ": " << e.what() << "\n" << sql.toStdString();
        }
        conn->execute(QStringLiteral("rollback"));
    }
}

std::string testName(const ::testing::TestParamInfo<int>& info) {
    const CatalogueStatement& s = catalogue().at(info.param);
    std::string name = (s.file + u'_' + s.name).toStdString();
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name + "_" + std::to_string(info.param);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, StatementAcceptanceTest,
                         ::testing::ValuesIn(servedEntries()), testName);

TEST(StatementCatalogueTest, HoldsEveryArea) {
    QSet<QString> files;
    for (const CatalogueStatement& s : catalogue()) files.insert(s.file);
    EXPECT_GE(files.size(), 17);
    EXPECT_GE(catalogue().size(), 380);
}

}  // namespace
