// The generic dialogs of api: created by class name, their checks, messages and outcomes.

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "abort.h"
#include "connection.h"
#include "dialog_tag.h"
#include "dialogs/Paramedit.h"
#include "dialogs/Shared_dlg.h"
#include "dialogs/Unit_filter_period.h"
#include "dialogs/Unit_input_dialog.h"
#include "dialogs/Unit_legend.h"
#include "dialogs/Unit_select_period.h"
#include "dialogs/Unit_single_dialog.h"
#include "dialogs/db_lookup_combo.h"
#include "lookups/dm_api_lookups.h"
#include "messages.h"
#include "query.h"
#include "registry.h"
#include "scripted_messages.h"
#include "session.h"
#include "rolled_back_session.h"
#include "test_cluster.h"
#include "widgets/db_grid.h"

namespace {

template <class T>
T* create(const QString& className) {
    auto* dialog = qobject_cast<T*>(api::createByClassName(className));
    if (!dialog) throw std::runtime_error(className.toStdString() + " is not registered");
    return dialog;
}

void runDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class DialogsTest : public ::testing::Test, protected testsupport::RolledBackSession {
};

TEST_F(DialogsTest, EveryDialogIsCreatedByItsClassNameWithItsComponentName) {
    const QList<QPair<QString, QString>> classes = {
        {"tfrm_ref_sel", "frm_ref_sel"},        {"TParamEditForm", "ParamEditForm"},
        {"Tfrm_input", "frm_input"},            {"Tfrm_single_input_dialog", "frm_single_input_dialog"},
        {"Tfrm_period", "frm_period"},          {"Tfrm_select_period", "frm_select_period"},
        {"TFRM_FILTER_PERIOD", "frm_filter_period"}, {"Tfrm_legend", "frm_legend"}};
    for (const auto& [className, objectName] : classes) {
        std::unique_ptr<QWidget> dialog(api::createByClassName(className));
        ASSERT_TRUE(dialog) << className.toStdString();
        EXPECT_EQ(dialog->objectName(), objectName);
    }
}

TEST_F(DialogsTest, ReferenceSearchWrapsTheTextInPercentSignsAndIgnoresCase) {
    signIn(QStringLiteral("school_001"));
    QPointer<api::Tfrm_ref_sel> dialog = create<api::Tfrm_ref_sel>(QStringLiteral("Tfrm_ref_sel"));
    dialog->z_ref->setConnection(&api::connection());
    dialog->set_query(QStringLiteral(
        "select h.account_id, h.last_name from public.human h, human_available ha where h.account_id = ha.account_id "
        "and (lower(h.last_name) like lower(:par_name) or (:par_name_all = 0)) and h.account_id < 100000009 order by 2"));
    dialog->z_ref->param(QStringLiteral("par_name_all")).setInteger(0);
    dialog->run_query(QStringLiteral("Счет"), QStringLiteral("Фамилия"), 80, 200);
    EXPECT_EQ(dialog->z_ref->recordCount(), 8);

    dialog->ed_search->setText(QStringLiteral("ЛКИН"));  // inside "Ёлкин" and "Елкин"
    EXPECT_EQ(dialog->z_ref->param(QStringLiteral("par_name")).value().toString(), QStringLiteral("%ЛКИН%"));
    QStringList found;
    for (dialog->z_ref->first(); !dialog->z_ref->eof(); dialog->z_ref->next())
        found << dialog->z_ref->field(QStringLiteral("last_name")).asString();
    EXPECT_EQ(found.size(), 2);
    EXPECT_TRUE(found.contains(QStringLiteral("Ёлкин")) && found.contains(QStringLiteral("Елкин")));
    // The caller's layout survives the search.
    EXPECT_EQ(dialog->grid_ref->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Фамилия"));
    EXPECT_EQ(dialog->grid_ref->columnWidth(1), 200);

    // Enter in the grid selects; the picker frees itself after the caller read it.
    QTest::keyClick(dialog->grid_ref, Qt::Key_Return);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(api::tagOf(dialog->btn_select), api::kTagSelected);
    EXPECT_FALSE(dialog->z_ref->field(QStringLiteral("account_id")).asString().isEmpty());
    runDeferredDeletes();
    EXPECT_FALSE(dialog);
}

TEST_F(DialogsTest, InputFormRefusesABlankDateOrAnEmptyTextAndSavesOtherwise) {
    struct Case { QString date; QString text; QString message; api::MessageIcon icon; int tag; };
    const QList<Case> cases = {
        {QString(), QStringLiteral("7В"), QStringLiteral("Не указана дата создания класса либо формат даты введен с ошибкой "),
         api::MessageIcon::Error, 0},
        {QStringLiteral("31.02.2024"), QStringLiteral("7В"),
         QStringLiteral("Не указана дата создания класса либо формат даты введен с ошибкой "), api::MessageIcon::Error, 0},
        {QStringLiteral("01.09.2024"), QStringLiteral("   "),
         QStringLiteral("Нельзя указывать пустые значения поля. Введите текст"), api::MessageIcon::Warning, 666},
        {QStringLiteral("01.09.2024"), QStringLiteral("7В"), QString(), api::MessageIcon::Information, 666},
    };
    for (const Case& c : cases) {
        messages->clear();
        QPointer<api::Tfrm_input> dialog = create<api::Tfrm_input>(QStringLiteral("Tfrm_input"));
        EXPECT_EQ(dialog->date_create_class->displayText(), QStringLiteral("  .  .    "));
        api::setTag(dialog->btn_input_add, api::kTagConfirmed);  // left from an earlier try
        if (!c.date.isEmpty()) dialog->date_create_class->setText(c.date);
        dialog->ed_field->setText(c.text);
        if (c.message.isEmpty()) {
            dialog->btn_input_addClick();
            EXPECT_TRUE(messages->shown().isEmpty());
        } else {
            EXPECT_THROW(dialog->btn_input_addClick(), api::Abort) << c.date.toStdString();
            ASSERT_EQ(messages->shown().size(), 1);
            EXPECT_EQ(messages->lastText(), c.message);
            EXPECT_EQ(messages->shown().last().icon, c.icon);
        }
        if (c.message.isEmpty() || c.tag == 0) EXPECT_EQ(api::tagOf(dialog->btn_input_add), c.tag);
        delete dialog.data();
    }
}

TEST_F(DialogsTest, GroupInputRefusesAnEmptyName) {
    std::unique_ptr<api::Tfrm_single_input_dialog> dialog(
        create<api::Tfrm_single_input_dialog>(QStringLiteral("Tfrm_single_input_dialog")));
    dialog->ed_name->setText(QStringLiteral("  "));
    EXPECT_THROW(dialog->btn_goClick(), api::Abort);
    EXPECT_EQ(messages->lastText(), QStringLiteral("Нельзя указывать пустые значения поля. Введите текст"));
    EXPECT_NE(api::tagOf(dialog->btn_go), api::kTagConfirmed);
    dialog->ed_name->setText(QStringLiteral("Шахматы"));
    dialog->btn_goClick();
    EXPECT_EQ(api::tagOf(dialog->btn_go), api::kTagConfirmed);
}

TEST_F(DialogsTest, PeriodChooserGivesMonthsQuartersAndYears) {
    std::unique_ptr<api::Tfrm_filter_period> dialog(create<api::Tfrm_filter_period>(QStringLiteral("Tfrm_filter_period")));
    dialog->ed_year->setText(QStringLiteral("2024"));
    const QList<std::tuple<int, QDate, QDate>> quarters = {
        {1, QDate(2024, 1, 1), QDate(2024, 3, 31)}, {2, QDate(2024, 4, 1), QDate(2024, 6, 30)},
        {3, QDate(2024, 7, 1), QDate(2024, 9, 30)}, {4, QDate(2024, 10, 1), QDate(2024, 12, 31)}};
    for (const auto& [quarter, beg, end] : quarters) {
        dialog->quarter_tag = 0;
        dialog->quarterButtons.at(quarter - 1)->click();
        EXPECT_EQ(dialog->period_beg, beg) << quarter;
        EXPECT_EQ(dialog->period_end, end) << quarter;
        EXPECT_EQ(dialog->quarter_tag, api::kTagConfirmed);
    }
    EXPECT_EQ(dialog->findChild<QToolButton*>(QStringLiteral("SpeedButton16"))->text(), QStringLiteral("2 квартал"));
    dialog->findChild<QToolButton*>(QStringLiteral("SpeedButton11"))->click();  // September
    EXPECT_EQ(dialog->month_num, 9);
    EXPECT_EQ(dialog->month_tag, api::kTagConfirmed);
    dialog->SpeedButton1->click();
    EXPECT_EQ(dialog->ed_year->text(), QStringLiteral("2023"));
    dialog->SpeedButton2->click();
    dialog->SpeedButton2->click();
    EXPECT_EQ(dialog->ed_year->text(), QStringLiteral("2025"));
    dialog->SpeedButton19->click();
    EXPECT_FALSE(dialog->calendar->isHidden());
    dialog->calendarChange();
    EXPECT_EQ(api::tagOf(dialog->calendar), api::kTagConfirmed);
}

// The privilege period of the demo pupil Абрамова: 09.01.2024 to 31.05.2024.
class SelectPeriodTest : public DialogsTest {
protected:
    QPointer<api::Tfrm_select_period> open() {
        signIn(QStringLiteral("school_001"));
        QPointer<api::Tfrm_select_period> dialog = create<api::Tfrm_select_period>(QStringLiteral("Tfrm_select_period"));
        api::Tapi_dm_lookups::get_list_months(dialog->ed_year, *dialog->z_months);
        dialog->ed_year->setText(QStringLiteral("2024"));
        dialog->db_months->setKeyValue(3);
        dialog->account_id = 100000004;
        dialog->beg_date = QDate(2024, 1, 9);
        dialog->entry_date = QDate(2024, 3, 4);
        dialog->pupil_fio = QStringLiteral("Абрамова Яна Денисовна");
        return dialog;
    }
    QString endDate() {
        return scalar(QStringLiteral("select date_end from public.human_privilege_period where account_id = 100000004 "
                                     "and date_beg = '2024-01-09'"));
    }
};

TEST_F(SelectPeriodTest, AnsweringNoClosesWithTheTagAndChangesNothing) {
    auto dialog = open();
    const QString before = endDate();
    messages->answer(false);
    dialog->btn_goClick();
    EXPECT_EQ(endDate(), before);
    EXPECT_EQ(api::tagOf(dialog->btn_go), api::kTagConfirmed);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->month_num, 3);
    EXPECT_EQ(dialog->year_num, 2024);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_TRUE(messages->shown().last().isQuestion);
    EXPECT_EQ(messages->shown().last().caption, QStringLiteral("Вопрос"));
    EXPECT_EQ(messages->lastText(),
              QStringLiteral("Вы действительно хотите изменить конечную дату льготного периода для учащегося  \r"
                             "Абрамова Яна Денисовна на дату 31.03.2024 ? "));
    runDeferredDeletes();
    EXPECT_FALSE(dialog);
}

TEST_F(SelectPeriodTest, AnsweringYesMovesTheEndToTheLastDayOfTheMonth) {
    auto dialog = open();
    messages->answer(true);
    dialog->btn_goClick();
    EXPECT_EQ(endDate(), QStringLiteral("31.03.2024"));
}

TEST_F(SelectPeriodTest, YearTakesDigitsBackspaceAndPasteOnly) {
    auto dialog = open();
    dialog->ed_year->clear();
    QTest::keyClicks(dialog->ed_year, QStringLiteral("2a0x2-4 "));
    EXPECT_EQ(dialog->ed_year->text(), QStringLiteral("2024"));
    QTest::keyClick(dialog->ed_year, Qt::Key_Backspace);
    EXPECT_EQ(dialog->ed_year->text(), QStringLiteral("202"));
    delete dialog.data();
}

TEST_F(DialogsTest, ParameterEditorKeepsWhatTheCallerWroteAndAccepts) {
    std::unique_ptr<api::TParamEditForm> dialog(create<api::TParamEditForm>(QStringLiteral("TParamEditForm")));
    dialog->setCell(0, 0, QStringLiteral("p_date"));
    dialog->setCell(1, 0, QStringLiteral("01.09.2024"));
    dialog->setCell(0, 1, QStringLiteral("p_corpus"));
    EXPECT_EQ(dialog->cell(1, 0), QStringLiteral("01.09.2024"));
    EXPECT_EQ(dialog->cell(1, 1), QString());
    dialog->OkButton->click();
    EXPECT_EQ(api::tagOf(dialog->OkButton), api::kTagConfirmed);
    EXPECT_TRUE(dialog->isHidden());
}

TEST_F(DialogsTest, LegendListsTheThreeMarksUnderValue) {
    signIn(QStringLiteral("dorv"));
    std::unique_ptr<api::Tfrm_legend> dialog(create<api::Tfrm_legend>(QStringLiteral("Tfrm_legend")));
    dialog->FormShow();
    ASSERT_EQ(dialog->z_legend->recordCount(), 3);
    EXPECT_TRUE(dialog->grid_legend->isColumnHidden(0));
    EXPECT_EQ(dialog->grid_legend->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Значение"));
    EXPECT_EQ(dialog->grid_legend->columnWidth(1), 280);
    dialog->z_legend->first();
    EXPECT_EQ(dialog->z_legend->field(QStringLiteral("name")).asString(), QStringLiteral("Действующая льгота 700 р"));
}

}  // namespace
