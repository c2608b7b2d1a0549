// The shared look-up lists against the demo cluster: the statement each one sends, what
// its parameters select, and the layout the agent statistics give their grid.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "connection.h"
#include "dm_api.h"
#include "lookups/dm_api_lookups.h"
#include "lookups/fixed_decimals_delegate.h"
#include "query.h"
#include "session.h"
#include "test_cluster.h"
#include "widgets/db_grid.h"

namespace {

using api::Tapi_dm_lookups;

// Signs in as the login; everything runs in one transaction that is rolled back.
class LookupsTest : public ::testing::Test {
protected:
    void signIn(const QString& login) {
        connection_ = testsupport::connectAs(login);
        connection_->execute(QStringLiteral("begin"));
        api::setConnection(connection_.get());
    }
    ~LookupsTest() override {
        if (connection_) connection_->execute(QStringLiteral("rollback"));
        api::setConnection(nullptr);
    }
    QStringList column(db::Query& q, const QString& name) {
        QStringList values;
        for (q.first(); !q.eof(); q.next()) values << q.field(name).asString();
        return values;
    }
    int scalar(const QString& sql) {
        db::Query q(connection_.get());
        q.addSql(sql);
        q.open();
        return int(q.field(0).asInteger());
    }
    std::unique_ptr<db::Connection> connection_;
};

TEST_F(LookupsTest, PupilNameFilterOfBlanksListsEveryoneOtherwiseComparesAsTyped) {
    signIn(QStringLiteral("school_001"));
    const int everyone = scalar(QStringLiteral("select count(*) from human_available"));
    struct Case { QString filter; QStringList expected; bool all; };
    const QList<Case> cases = {
        {QStringLiteral("   "), {}, true},
        {QString(), {}, true},
        {QStringLiteral("ершов"), {QStringLiteral("Ершов")}, false},   // case-insensitive, exact
        {QStringLiteral("Ерш"), {}, false},                             // no wildcard of our own
        {QStringLiteral("ЕРШ%"), {QStringLiteral("Ершов")}, false},     // the caller's wildcard
    };
    for (const Case& c : cases) {
        db::Query q;
        Tapi_dm_lookups::Get_people_list_per_school(q, c.filter);
        if (c.all) EXPECT_EQ(q.recordCount(), everyone) << c.filter.toStdString();
        else EXPECT_EQ(column(q, QStringLiteral("last_name")), c.expected) << c.filter.toStdString();
    }
}

TEST_F(LookupsTest, PupilListsWithAttrAndAccountingApplyTheirConditions) {
    signIn(QStringLiteral("school_001"));
    db::Query withAttr;
    Tapi_dm_lookups::Get_people_list_per_school_w_attr(withAttr, QStringLiteral("юдин"));
    EXPECT_FALSE(column(withAttr, QStringLiteral("account_id")).contains(QStringLiteral("100000008")))
        << "a locked account is not listed";
    Tapi_dm_lookups::Get_people_list_per_school_w_attr(withAttr, QStringLiteral("ершов"));
    EXPECT_TRUE(column(withAttr, QStringLiteral("account_id")).contains(QStringLiteral("100000001")));
    EXPECT_EQ(withAttr.fieldIndex(QStringLiteral("attr")), 5);

    // Эйсмонт left her class on 15.01.2024: out of every class from that day on.
    db::Query outOfClass;
    Tapi_dm_lookups::Get_people_list_per_school_w_accounting(outOfClass, QStringLiteral("эйсмонт"), QDate(2024, 1, 14));
    EXPECT_EQ(outOfClass.recordCount(), 0);
    Tapi_dm_lookups::Get_people_list_per_school_w_accounting(outOfClass, QStringLiteral("эйсмонт"), QDate(2024, 1, 15));
    EXPECT_EQ(outOfClass.recordCount(), 1);

    db::Query special;
    Tapi_dm_lookups::Get_people_list_per_school_w_accounting_special(special, QStringLiteral("эйсмонт"), 0, QDate(2024, 1, 15));
    ASSERT_EQ(special.recordCount(), 1);
    EXPECT_EQ(special.field(QStringLiteral("ch")).asInteger(), 0);
}

TEST_F(LookupsTest, ParallelsAndClassesOfABuildingOnATextDate) {
    signIn(QStringLiteral("school_001"));
    db::Query q;
    Tapi_dm_lookups::get_list_parallel(q, 1, QStringLiteral("02.09.2024"));
    const QStringList parallels = column(q, QStringLiteral("paralel"));
    EXPECT_TRUE(parallels.contains(QStringLiteral("1")));
    EXPECT_FALSE(parallels.contains(QStringLiteral("32"))) << "the kindergarten group is in building 2";
    EXPECT_EQ(q.param(QStringLiteral("on_date")).type(), db::ParamType::Text);

    Tapi_dm_lookups::get_list_all_parallel(q, QStringLiteral("02.09.2024"));
    EXPECT_TRUE(column(q, QStringLiteral("paralel")).contains(QStringLiteral("32")));

    Tapi_dm_lookups::get_list_class_name(q, 1, QStringLiteral("1"), QStringLiteral("02.09.2024"));
    EXPECT_TRUE(column(q, QStringLiteral("name")).contains(QStringLiteral("1А")));
    // Before the roll began nothing is present.
    Tapi_dm_lookups::get_list_class_name(q, 1, QStringLiteral("1"), QStringLiteral("31.08.2023"));
    EXPECT_EQ(q.recordCount(), 0);
}

TEST_F(LookupsTest, TeachersStartWithNotSetOnlyWhenThereAreTeachers) {
    signIn(QStringLiteral("school_001"));
    db::Query q;
    Tapi_dm_lookups::get_teachers(q);
    ASSERT_GT(q.recordCount(), 1);
    q.first();
    EXPECT_EQ(q.field(QStringLiteral("id")).asInteger(), 0);
    EXPECT_EQ(q.field(QStringLiteral("name")).asString(), QStringLiteral("Не задан"));

    connection_->execute(QStringLiteral("rollback"));
    signIn(QStringLiteral("school_002"));
    if (scalar(QStringLiteral("select count(*) from ref_ae_teacher")) == 0) {
        Tapi_dm_lookups::get_teachers(q);
        EXPECT_EQ(q.recordCount(), 0);
    }
}

TEST_F(LookupsTest, MonthsFollowTheCurrentYearWrittenIntoTheEdit) {
    signIn(QStringLiteral("school_001"));
    QLineEdit year;
    year.setText(QStringLiteral("1999"));
    db::Query q;
    Tapi_dm_lookups::get_list_months(&year, q);
    EXPECT_EQ(year.text(), QString::number(api::Tapi_dm::get_current_year()));
    EXPECT_EQ(q.param(QStringLiteral("year_id")).value().toInt(), year.text().toInt());
    ASSERT_EQ(q.recordCount(), 12);
    q.first();
    EXPECT_EQ(q.field(QStringLiteral("num_month")).asInteger(), 1);
}

TEST_F(LookupsTest, ReportGroupReadsTheOrganisationTableOnlyForAdminAndTechnologist) {
    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("admin"), QStringLiteral("select r.report_id, r.name, r.template, r.is_csv from dorv.sys_report r")},
        {QStringLiteral("dorv_technolog"), QStringLiteral("select r.report_id, r.name, r.template, r.is_csv from dorv.sys_report r")},
        {QStringLiteral("dorv"), QStringLiteral("select r.report_id, r.name, r.template, is_csv from sys_report r")},
        {QStringLiteral("school_001"), QStringLiteral("select r.report_id, r.name, r.template, is_csv from sys_report r")},
    };
    for (const auto& [login, firstLine] : cases) {
        signIn(login);
        db::Query q;
        Tapi_dm_lookups::get_report_group(1, q);
        EXPECT_EQ(q.sqlLines().first(), firstLine) << login.toStdString();
        EXPECT_TRUE(q.isOpen());
        connection_->execute(QStringLiteral("rollback"));
        connection_.reset();
    }
}

TEST_F(LookupsTest, AgentStatisticsSumPostedPaymentsPerDayAndLayOutTheGrid) {
    signIn(QStringLiteral("dorv"));
    // Payments of a month no demo reaches: two posted days of agent 3, one of agent 1 and
    // one payment of agent 3 without its ledger row.
    connection_->execute(QStringLiteral(
        "insert into dorv.terminal_extract (entry_date, pay_terminal, transaction_id, account_id, ammount, status) values"
        " ('2031-02-02', 3, 't-1', 100000001, 1500.00, 4), ('2031-02-02', 3, 't-2', 100000004, 700.50, 4),"
        " ('2031-02-03', 3, 't-3', 100000005, 1000.00, 4), ('2031-02-03', 1, 't-4', 100000005, 300.00, 4),"
        " ('2031-02-04', 3, 't-5', 100000005, 99.00, 4);"
        "insert into dorv.sys_entry (doc_class, doc_no, entry_date, account_id, ammount)"
        " select 7, seq_no, entry_date, account_id, ammount from dorv.terminal_extract t"
        " where transaction_id in ('t-1', 't-2', 't-3', 't-4')"
        " and not exists (select 1 from dorv.sys_entry e where e.doc_class = 7 and e.doc_no = t.seq_no);"
        "delete from dorv.sys_entry where doc_class = 7 and doc_no ="
        " (select seq_no from dorv.terminal_extract where transaction_id = 't-5')"));
    db::Query q;
    api::DbGrid grid;
    grid.setQuery(&q);
    Tapi_dm_lookups::get_stat_agent_pay(q, 3, QDate(2031, 2, 1), QDate(2031, 2, 28), &grid);
    ASSERT_EQ(q.recordCount(), 2);
    q.first();
    EXPECT_EQ(q.field(QStringLiteral("entry_date")).asDate(), QDate(2031, 2, 3)) << "latest day first";
    q.next();
    EXPECT_DOUBLE_EQ(q.field(QStringLiteral("ammount")).asFloat(), 2200.50);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Дата"));
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Сумма"));
    EXPECT_EQ(grid.columnWidth(0), 100);
    EXPECT_EQ(grid.columnWidth(1), 130);
    auto* delegate = qobject_cast<api::FixedDecimalsDelegate*>(grid.itemDelegateForColumn(1));
    ASSERT_NE(delegate, nullptr);
    EXPECT_EQ(delegate->displayText(grid.model()->index(0, 1).data(), QLocale()), QStringLiteral("1000,00"));
}

TEST(FixedDecimalsDelegateTest, FormatsLikeHashHashZeroPointZeroZero) {
    const QList<QPair<QString, QString>> cases = {{"1234.5", "1234,50"}, {"0,1", "0,10"}, {"-3", "-3,00"},
                                                  {"", ""},             {"abc", "abc"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(api::FixedDecimalsDelegate::format(in, 2), out) << in.toStdString();
}

TEST_F(LookupsTest, PlainListsOpenAsTheirLogins) {
    signIn(QStringLiteral("dorv"));
    db::Query q;
    Tapi_dm_lookups::get_human_doc_type(q);
    for (q.first(); !q.eof(); q.next()) EXPECT_GT(q.field(QStringLiteral("doc_type_id")).asInteger(), 1);
    Tapi_dm_lookups::get_type_news(q);
    EXPECT_GT(q.recordCount(), 0);
    Tapi_dm_lookups::get_school_name_list(q);
    EXPECT_TRUE(column(q, QStringLiteral("x_edu_org")).contains(QStringLiteral("school_001")));
    Tapi_dm_lookups::get_ref_pay_terminal(q);
    EXPECT_TRUE(column(q, QStringLiteral("pay_terminal_id")).contains(QStringLiteral("3")));
    connection_->execute(QStringLiteral("rollback"));

    signIn(QStringLiteral("school_001"));
    Tapi_dm_lookups::get_ae_ref_pay_terminal(q);
    EXPECT_TRUE(column(q, QStringLiteral("pay_terminal_id")).contains(QStringLiteral("888")));
    Tapi_dm_lookups::get_list_corpus(q);
    EXPECT_EQ(column(q, QStringLiteral("corpus_id")).value(0), QStringLiteral("1"));
}

}  // namespace
