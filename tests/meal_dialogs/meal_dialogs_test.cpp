// The meal-accounting dialogs of api against the demo cluster; every test's statements run
// in one transaction that is rolled back.

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "connection.h"
#include "dialog_tag.h"
#include "dialogs/db_lookup_combo.h"
#include "meals/U_multiply_set_ft.h"
#include "meals/Unit_orders.h"
#include "meals/Unit_people_privelege_period.h"
#include "meals/Unit_refused_pay_list_date.h"
#include "meals/Unit_set_ft.h"
#include "meals/Unit_stat_report.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "scripted_messages.h"
#include "session.h"
#include "rolled_back_session.h"
#include "test_cluster.h"

namespace {

template <class T>
std::unique_ptr<T> create(const QString& className) {
    auto* dialog = qobject_cast<T*>(api::createByClassName(className));
    if (!dialog) throw std::runtime_error(className.toStdString() + " is not registered");
    return std::unique_ptr<T>(dialog);
}

class MealDialogsTest : public ::testing::Test, protected testsupport::RolledBackSession {
protected:
    using RolledBackSession::column;
    static QStringList column(db::Query& q, const QString& name) {
        QStringList values;
        for (q.first(); !q.eof(); q.next()) values << q.field(name).asString();
        return values;
    }
};

TEST_F(MealDialogsTest, WeekdayRationsPreselectTheFirstRationOrThePupilsSchedule) {
    signIn(QStringLiteral("school_001"));
    const QString first = column(QStringLiteral(
        "select min(daily_ration_id) from daily_ration_available where corpus_id = 1 and attr = 1")).value(0);
    const QString without = column(QStringLiteral(
        "select min(account_id) from human_available where account_id not in (select account_id from human_food_type)")).value(0);
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(without.isEmpty());

    auto dialog = create<api::Tfrm_set_food_type>(QStringLiteral("Tfrm_set_food_type"));
    dialog->selected_corpus = 1;
    dialog->selected_account = without.toInt();
    dialog->FormShow();
    for (int day = 0; day < 7; ++day) EXPECT_EQ(dialog->rationOf(day).toString(), first) << day;

    db::Query schedule(&connection());
    schedule.addSql(QStringLiteral("select * from human_food_type order by account_id limit 1"));
    schedule.open();
    if (schedule.recordCount() == 0) return;
    dialog->selected_account = int(schedule.field(QStringLiteral("account_id")).asInteger());
    dialog->FormShow();
    const char* const days[] = {"monday_ration", "tuesday_ration", "wednesday_ration", "thursday_ration",
                                "friday_ration", "saturday_ration", "sunday_ration"};
    for (int day = 0; day < 7; ++day) {
        const QString stored = schedule.field(QString::fromLatin1(days[day])).asString();
        const bool available = column(QStringLiteral("select daily_ration_id from daily_ration_available where corpus_id = 1 and attr = 1"))
                                   .contains(stored);
        EXPECT_EQ(dialog->rationOf(day).toString(), available ? stored : QString()) << day;
    }
    dialog->btn_set_food_type->click();
    EXPECT_EQ(api::tagOf(dialog->btn_set_food_type), api::kTagConfirmed);
}

TEST_F(MealDialogsTest, ClassRationsAreFilteredByTheFundThatPays) {
    signIn(QStringLiteral("school_001"));
    auto dialog = create<api::Tfrm_multiply_set_ft>(QStringLiteral("Tfrm_multiply_set_ft"));
    dialog->corpus_id = 1;
    dialog->FormShow();
    dialog->z_pay_funds->last();
    EXPECT_EQ(dialog->z_pay_funds->field(QStringLiteral("pay_fund_id")).asInteger(), 999);
    EXPECT_EQ(dialog->z_pay_funds->field(QStringLiteral("name")).asString(), QStringLiteral("Все типы питания"));

    struct Case { int fund; QString expected; };
    const QList<Case> cases = {
        {999, "select r.name from public.ref_daily_ration r, daily_ration_available a where a.daily_ration_id = r.daily_ration_id and a.corpus_id = 1"},
        {1, "select distinct r.name from public.ref_daily_ration r, daily_ration_available a, public.ref_daily_ration_sp sp, "
            "public.mealref_type t where a.daily_ration_id = r.daily_ration_id and a.corpus_id = 1 and r.disabled = 0 "
            "and sp.daily_ration = r.daily_ration_id and t.food_type_id = sp.food_type and t.found_parent is not null"},
        {666, "select r.name from public.ref_daily_ration r, daily_ration_available a, public.ref_daily_ration_sp sp, "
              "public.mealref_type t where a.daily_ration_id = r.daily_ration_id and a.corpus_id = 1 and a.attr = 1 "
              "and sp.daily_ration = r.daily_ration_id and t.food_type_id = sp.food_type and "
              "num_nonnulls(t.found_parent, t.found_dorv, t.found_privilege, t.found_subsidy, t.found_ovz, t.found_staff, "
              "t.found_junior, t.found_mob, t.found_fam) >= 2"},
    };
    for (const Case& c : cases) {
        const int row = column(*dialog->z_pay_funds, QStringLiteral("pay_fund_id")).indexOf(QString::number(c.fund));
        if (row < 0) continue;  // the fund table has no such row
        dialog->z_pay_funds->moveTo(row);
        dialog->grid_pay_fundsCellClick();
        QStringList shown = column(*dialog->z_ft_list, QStringLiteral("name"));
        QStringList expected = column(c.expected);
        if (c.fund == 666) {  // one row per mixed-funded meal type, and only the integer fund columns count
            for (const QString& name : shown) EXPECT_TRUE(expected.contains(name)) << name.toStdString();
            continue;
        }
        shown.sort();
        expected.sort();
        EXPECT_EQ(shown.join(u'|').toStdString(), expected.join(u'|').toStdString()) << c.fund;
    }
}

TEST_F(MealDialogsTest, OrderCountsIgnoreLetters) {
    auto dialog = create<api::Tfrm_orders>(QStringLiteral("Tfrm_orders"));
    QTest::keyClicks(dialog->ed_tub_chgard_5, QStringLiteral("1x2 y-3"));
    EXPECT_EQ(dialog->ed_tub_chgard_5->text(), QStringLiteral("123"));
    dialog->btn_go->click();
    EXPECT_EQ(api::tagOf(dialog->btn_go), api::kTagConfirmed);
}

TEST_F(MealDialogsTest, DeletingAPrivilegePeriodAsksWithTheNameAndThePeriod) {
    signIn(QStringLiteral("school_001"));
    auto dialog = create<api::Tfrm_account_privelege_period>(QStringLiteral("Tfrm_account_privelege_period"));
    dialog->account_id = 100000004;
    dialog->pupil_fio = QStringLiteral("Абрамова Яна Денисовна");
    dialog->get_list_priv(*dialog->z_priv, dialog->account_id);
    const int periods = dialog->z_priv->recordCount();
    ASSERT_GT(periods, 0);
    dialog->z_priv->first();
    const QString beg = dialog->z_priv->field(QStringLiteral("date_beg")).asString();
    const QString end = dialog->z_priv->field(QStringLiteral("date_end")).asString();

    messages->answer(false);
    dialog->N1Click();
    EXPECT_EQ(messages->lastText(), QStringLiteral("Вы действительно хотите удалить льготный период для учащегося  \r"
                                                   "Абрамова Яна Денисовна\r c ") + beg + QStringLiteral(" по ") + end +
                                        QStringLiteral(" ?"));
    EXPECT_EQ(dialog->z_priv->recordCount(), periods);

    messages->answer(true);
    dialog->N1Click();
    EXPECT_EQ(dialog->z_priv->recordCount(), periods - 1);
    EXPECT_FALSE(column(*dialog->z_priv, QStringLiteral("date_beg")).contains(beg));
}

TEST_F(MealDialogsTest, StatisticsCountMarkedPupilsPerRationAndNothingForAnUnmarkedClass) {
    signIn(QStringLiteral("school_001"));
    // A pay list of its own on a day no demo reaches: two of class 1А marked, one not.
    testsupport::superuserExec(QStringLiteral(
        "insert into school_001.pay_list (doc_no, entry_date, corpus, status) values (900001, '2031-02-03', 1, 0);"
        "insert into school_001.pay_list_sp (doc_no, entry_date, account_id, daily_ration, attr, paralel, class)"
        " select 900001, '2031-02-03', a, r, m, 1, 1 from (values (100000001, 1), (100000002, 1), (100000003, 0)) v(a, m),"
        " (select min(daily_ration_id) as r from school_001.daily_ration_available where corpus_id = 1) x"));
    struct Cleanup {
        ~Cleanup() { testsupport::superuserExec(QStringLiteral("delete from school_001.pay_list where doc_no = 900001")); }
    } cleanup;
    auto dialog = create<api::Tfrm_stat_report>(QStringLiteral("Tfrm_stat_report"));
    dialog->on_date = QDate(2031, 2, 3);
    dialog->paralel_id = 1;
    dialog->class_id = 1;
    dialog->doc_no = 900001;
    dialog->FormShow();
    ASSERT_EQ(dialog->z_report->recordCount(), 1);
    EXPECT_EQ(dialog->z_report->field(QStringLiteral("r_count")).asString(), QStringLiteral("2"));

    dialog->class_id = 2;  // 5Б has no line in that pay list
    dialog->paralel_id = 5;
    dialog->FormShow();
    EXPECT_EQ(dialog->z_report->recordCount(), 0);
}

TEST_F(MealDialogsTest, RefusedDaysAreAddedWithTheCalendarDateAndRemovedByRow) {
    signIn(QStringLiteral("dorv"));
    auto dialog = create<api::Tfrm_refused_pay_list_days>(QStringLiteral("Tfrm_refused_pay_list_days"));
    dialog->FormShow();
    const int before = dialog->z_refused_days->recordCount();
    dialog->MonthCalendar1->setSelectedDate(QDate(2031, 3, 9));
    dialog->btn_goClick();
    ASSERT_EQ(dialog->z_refused_days->recordCount(), before + 1);
    dialog->z_refused_days->first();  // latest first
    EXPECT_EQ(dialog->z_refused_days->field(QStringLiteral("entry_date")).asDate(), QDate(2031, 3, 9));
    EXPECT_EQ(column(QStringLiteral("select note from dorv.refused_paylist_date where entry_date = '2031-03-09'")),
              QStringList{QStringLiteral("111")});
    dialog->Button1Click();
    EXPECT_EQ(dialog->z_refused_days->recordCount(), before);
}

}  // namespace
