// The meal accounting window loaded from its plug-in as the school's login, against the
// demo school (three years of posted pay lists up to yesterday, none today): opening,
// choosing a building or date, the "ate" marks, posting and rollback with their refusals,
// the balance moved by posting, the journal and the account states.

#include <gtest/gtest.h>

#include <QAction>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include "abort.h"
#include "connection.h"
#include "dates.h"
#include "dialogs/db_lookup_combo.h"
#include "messages.h"
#include "module_launcher.h"
#include "query.h"
#include "registry.h"
#include "scripted_messages.h"
#include "session.h"
#include "test_cluster.h"
#include "widgets/db_grid.h"

namespace {

using testsupport::superuserExec;

// Today's documents of the demo school and their ledger entries, the refused dates and
// locks a test sets, and the note and marks a test writes, all go again.
const char* kCleanUp =
    "delete from dorv.sys_entry where doc_class = 1 and edu_org = 'school_001' and doc_no in "
    "  (select doc_no from school_001.pay_list where entry_date >= current_date);"
    "delete from school_001.pay_list where entry_date >= current_date;"
    "delete from dorv.refused_paylist_date where note = 'mealbook test';"
    "update school_001.ref_corpus set is_pay_list_blocked = null, who_blocked = null;"
    "update school_001.ref_property set property_value = '1' where name = 'show_balance';";

const QString kPostedSpecification = QStringLiteral(
    "Вы пытаетесь изменить спецификацию в проведенной ведомости. Отмените проводку и попробуйте снова");

QString serverText(const QString& sql) {
    auto connection = testsupport::connectAs(QStringLiteral("school_001"));
    db::Query query(connection.get());
    query.setSql(sql);
    query.open();
    return query.recordCount() ? query.field(0).asString() : QStringLiteral("<none>");
}

class MealbookWindowTest : public ::testing::Test {
protected:
    MealbookWindowTest() {
        superuserExec(QString::fromUtf8(kCleanUp));
        api::setProgramDir(QStringLiteral(DORV_PROGRAM_DIR));
        previous_ = api::setMessageService(messages);
        connection_ = testsupport::connectAs(QStringLiteral("school_001"));
        api::setConnection(connection_.get());
        api::load_module(api::packagePath(QStringLiteral("mealbook")));
        window_ = api::createByClassName(QStringLiteral("tfrm_mealbook"));
        if (!window_) throw std::runtime_error("Tfrm_mealbook is not registered");
        today = QDate::fromString(serverText(QStringLiteral("select current_date::text")), Qt::ISODate);
    }
    ~MealbookWindowTest() override {
        delete window_;
        api::setConnection(nullptr);
        api::setMessageService(previous_);
        superuserExec(QString::fromUtf8(kCleanUp));
    }

    template <class T>
    T& child(const char* name) {
        auto* found = window_->findChild<T*>(QString::fromLatin1(name));
        if (!found) throw std::runtime_error(std::string(name) + " not found");
        return *found;
    }
    db::Query& payList() { return child<db::Query>("z_pay_list"); }
    QString docLabel() { return child<QLabel>("lbl_doc_no").text(); }
    int corpus() { return child<api::DbLookupCombo>("food_combo_corpus").keyValue().toInt(); }
    QDate date() { return child<QDateEdit>("food_calendar").date(); }

    // Runs a handler as a click would; a silent abort ends it quietly.
    void run(const char* handler) {
        try {
            ASSERT_TRUE(QMetaObject::invokeMethod(window_, handler)) << handler;
        } catch (const api::Abort&) {
        }
    }
    // Opens the window answering its question about today's document.
    void open(bool createToday) {
        messages->answer(createToday);
        run("FormShow");
        messages->clear();
    }
    void chooseBuilding(int corpusId) {
        child<api::DbLookupCombo>("food_combo_corpus").setKeyValue(corpusId);
        run("food_combo_corpusCloseUp");
    }
    void chooseDate(const QDate& d) {
        child<QDateEdit>("food_calendar").setDate(d);
        run("food_calendarCloseUp");
    }
    QString status(int corpusId, const QDate& d) {
        return serverText(QStringLiteral("select status from pay_list where corpus = %1 and entry_date = '%2'")
                              .arg(corpusId)
                              .arg(d.toString(Qt::ISODate)));
    }
    // Makes the pupil current with the grid on the "Питался" column.
    void focusAttr(int account) {
        db::Query& q = payList();
        for (q.first(); !q.eof(); q.next())
            if (q.field(QStringLiteral("account_id")).asInteger() == account) break;
        auto& grid = child<api::DbGrid>("grid_pay_list");
        grid.setCurrentIndex(grid.model()->index(q.recNo(), grid.columnOf(QStringLiteral("attr"))));
    }
    QString attrOf(int account) {
        return serverText(QStringLiteral("select attr from pay_list_sp s join pay_list p using (doc_no) "
                                         "where p.corpus = %1 and p.entry_date = '%2' and s.account_id = %3")
                              .arg(corpus())
                              .arg(date().toString(Qt::ISODate))
                              .arg(account));
    }
    // The first pupil of the class shown whose line has a ration with a parents' part.
    int pupilWithParentsPart() {
        db::Query& q = payList();
        for (q.first(); !q.eof(); q.next())
            if (q.field(QStringLiteral("ovz")).asFloat() > 0) return int(q.field(QStringLiteral("account_id")).asInteger());
        return 0;
    }

    std::shared_ptr<api::ScriptedMessages> messages = std::make_shared<api::ScriptedMessages>();
    QWidget* window_ = nullptr;
    QDate today;

private:
    std::unique_ptr<db::Connection> connection_;
    std::shared_ptr<api::MessageService> previous_;
};

TEST_F(MealbookWindowTest, OpeningCreatesTodaysListWhenAskedAndShowsItsLayout) {
    messages->answer(true);
    run("FormShow");
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_EQ(messages->shown()[0].text, QStringLiteral("Нет созданной ведомости на текущую дату. Создать ведомость ? "));
    EXPECT_TRUE(messages->shown()[0].isQuestion);

    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Учет питания"));
    EXPECT_EQ(corpus(), 1);
    EXPECT_EQ(date(), today);
    EXPECT_EQ(status(1, today), QStringLiteral("0")) << "today's document was created";
    const QString number = serverText(QStringLiteral("select doc_no from pay_list where corpus = 1 and entry_date = current_date"));
    EXPECT_EQ(docLabel(), QStringLiteral(" ") + number + QStringLiteral(" не проведен"));
    EXPECT_GT(payList().recordCount(), 0);
    EXPECT_TRUE(child<QLabel>("lbl_statistic").text().startsWith(
        QStringLiteral("Учеников к классе %1 / Установлено - ").arg(payList().recordCount())));
    EXPECT_GT(child<QTabBar>("food_page_class").count(), 0);
    EXPECT_GT(child<QTabBar>("food_page_class_liter").count(), 0);
    EXPECT_FALSE(child<QPushButton>("btn_orders").isEnabled()) << "a school building";

    auto& grid = child<api::DbGrid>("grid_pay_list");
    QStringList visible;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        if (!grid.isColumnHidden(c)) visible << grid.model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(visible, (QStringList{"№ Счета", "Ф.И.О", "Тип питания", "Питался", "Баланс", "СЗП", "КШП", "Л", "Б",
                                    "ОВЗ", "ПС", "ПМК", "Моб", "Мдет", "Итого"}));
    EXPECT_EQ(grid.columnWidth(grid.columnOf(QStringLiteral("name"))), 400);
    EXPECT_EQ(grid.columnWidth(grid.columnOf(QStringLiteral("total"))), 70);
}

TEST_F(MealbookWindowTest, DecliningTodayShowsTheLatestListAndCreatesNothing) {
    open(false);
    EXPECT_EQ(api::toShortDate(date()),
              serverText(QStringLiteral("select to_char(max(entry_date), 'DD.MM.YYYY') from pay_list where corpus = 1")));
    EXPECT_EQ(serverText(QStringLiteral("select count(*) from pay_list where entry_date = current_date")), QStringLiteral("0"));
    EXPECT_TRUE(docLabel().endsWith(QStringLiteral(" проведен")));
    EXPECT_FALSE(docLabel().endsWith(QStringLiteral("не проведен"))) << "the history is posted";
    EXPECT_GT(payList().recordCount(), 0);
}

TEST_F(MealbookWindowTest, DecliningAfterChoosingABuildingOrADateRestoresTheLastGoodOne) {
    open(true);
    chooseBuilding(2);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_EQ(messages->lastText(), QStringLiteral("Нет созданной ведомости на дату %1 Создать ведомость ? ")
                                        .arg(api::toShortDate(today)));
    EXPECT_EQ(corpus(), 1);
    EXPECT_EQ(date(), today);
    EXPECT_EQ(status(2, today), QStringLiteral("<none>"));
    EXPECT_GT(payList().recordCount(), 0);

    messages->clear();
    QDate sunday = today.addDays(-1);
    while (sunday.dayOfWeek() != 7) sunday = sunday.addDays(-1);
    chooseDate(sunday);
    EXPECT_EQ(messages->lastText(), QStringLiteral("Нет созданной ведомости на %1 Создать ведомость ? ")
                                        .arg(api::toShortDate(sunday)));
    EXPECT_EQ(date(), today);
    EXPECT_EQ(status(1, sunday), QStringLiteral("<none>"));

    messages->clear();
    messages->answer(true);
    chooseBuilding(2);
    EXPECT_EQ(corpus(), 2);
    EXPECT_EQ(status(2, today), QStringLiteral("0"));
}

TEST_F(MealbookWindowTest, BuildingWithoutClassesOnTheDateOffersTheLatestRollDate) {
    open(true);
    const QString rollDate = serverText(QStringLiteral(
        "select to_char(max(t1.entry_date), 'DD.MM.YYYY') from doc_class_in t1 join ref_class t2 using (class_id) "
        "where t2.corpus = 2 and t1.status = 4"));
    child<QDateEdit>("food_calendar").setDate(QDate(2023, 6, 1));
    chooseBuilding(2);
    ASSERT_EQ(messages->shown().size(), 1);
    EXPECT_EQ(messages->lastText(),
              QStringLiteral("Невозможно создать ведомость на 01.06.2023 так как не найден состав учащихся в корпусе на указанную дату \r"
                             "Сформированный списочный состав имеется на ") +
                  rollDate + QStringLiteral(" Создать ведомость ?"));
    EXPECT_EQ(corpus(), 1) << "declined: the last good building";
    EXPECT_EQ(date(), today);
    EXPECT_GT(payList().recordCount(), 0);
}

TEST_F(MealbookWindowTest, AMarkNeedsARationAndTheWholeClassSkipsLinesWithout) {
    open(true);
    const int fed = pupilWithParentsPart();
    ASSERT_NE(fed, 0);
    payList().last();
    const int unfed = int(payList().field(QStringLiteral("account_id")).asInteger());
    ASSERT_NE(unfed, fed);
    superuserExec(QStringLiteral("update school_001.pay_list_sp set daily_ration = 0, attr = 0 where account_id = %1 "
                                 "and entry_date = current_date").arg(unfed));
    run("food_page_class_literChange");

    focusAttr(unfed);
    run("grid_pay_listDblClick");
    EXPECT_EQ(messages->lastText(), QStringLiteral("Не выбран рацион питания. Для установки отметке о получении питания необходимо выбрать рацион питания учащегося"));
    EXPECT_EQ(attrOf(unfed), QStringLiteral("0"));

    messages->clear();
    focusAttr(fed);
    run("grid_pay_listDblClick");
    EXPECT_TRUE(messages->shown().isEmpty());
    EXPECT_EQ(attrOf(fed), QStringLiteral("1"));
    EXPECT_EQ(payList().field(QStringLiteral("account_id")).asInteger(), fed) << "the same pupil stays current";
    focusAttr(fed);
    run("grid_pay_listDblClick");
    EXPECT_EQ(attrOf(fed), QStringLiteral("0"));

    run("N4Click");
    EXPECT_EQ(attrOf(fed), QStringLiteral("1"));
    EXPECT_EQ(attrOf(unfed), QStringLiteral("0")) << "no ration, no mark";
    int marked = 0;
    for (payList().first(); !payList().eof(); payList().next())
        marked += payList().field(QStringLiteral("attr")).asInteger() == 1;
    EXPECT_GT(marked, 0);
    EXPECT_LT(marked, payList().recordCount());
    EXPECT_TRUE(child<QLabel>("lbl_statistic").text().endsWith(QStringLiteral("Установлено - %1").arg(marked)));
    run("N5Click");
    EXPECT_EQ(attrOf(fed), QStringLiteral("0"));
}

TEST_F(MealbookWindowTest, PostingAndRollbackSaySoWhenTheStatusAlreadyChangedAndPostedListsRefuseChanges) {
    open(true);
    const QString number = serverText(QStringLiteral("select doc_no from pay_list where corpus = 1 and entry_date = current_date"));
    run("N3Click");
    EXPECT_EQ(messages->lastText(), QStringLiteral("Статус ведомости уже был изменен ранее"));
    EXPECT_EQ(status(1, today), QStringLiteral("0"));

    run("N2Click");
    EXPECT_EQ(messages->lastText(), QStringLiteral("Ведомость успешно проведена"));
    EXPECT_EQ(status(1, today), QStringLiteral("4"));
    EXPECT_EQ(docLabel(), QStringLiteral(" ") + number + QStringLiteral(" проведен"));
    run("N2Click");
    EXPECT_EQ(messages->lastText(), QStringLiteral("Ведомость уже была проведена ранее."));
    EXPECT_EQ(status(1, today), QStringLiteral("4"));

    const int pupil = pupilWithParentsPart();
    const QString before = attrOf(pupil);
    struct Refusal {
        const char* handler;
        QString text;
    };
    for (const Refusal& refusal :
         {Refusal{"N4Click", kPostedSpecification}, Refusal{"N5Click", kPostedSpecification},
          Refusal{"grid_pay_listDblClick", kPostedSpecification},
          Refusal{"J2Click", QStringLiteral("Вы пытаетесь изменить списочный состав в проведенной ведомости. Отмените проводку и попробуйте снова")},
          Refusal{"J1Click", kPostedSpecification}, Refusal{"N49Click", kPostedSpecification}}) {
        messages->clear();
        focusAttr(pupil);
        run(refusal.handler);
        EXPECT_EQ(messages->lastText(), refusal.text) << refusal.handler;
        EXPECT_EQ(messages->shown().size(), 1) << refusal.handler;
    }
    EXPECT_EQ(attrOf(pupil), before);

    run("N3Click");
    EXPECT_EQ(messages->lastText(), QStringLiteral("Отмена проведения выполнена"));
    EXPECT_EQ(status(1, today), QStringLiteral("0"));
    EXPECT_EQ(docLabel(), QStringLiteral(" ") + number + QStringLiteral(" не проведен"));
}

TEST_F(MealbookWindowTest, ARefusedDateOrALockedBuildingRefusesPostingAndRollback) {
    open(true);
    superuserExec(QStringLiteral("insert into dorv.refused_paylist_date values (current_date, 'mealbook test')"));
    const QString refusedDate = QStringLiteral(
        "Уважаемый пользователь, для выбранной даты установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. ");
    for (const char* handler : {"N2Click", "N3Click"}) {
        messages->clear();
        run(handler);
        EXPECT_EQ(messages->texts(), QStringList{refusedDate}) << handler;
        EXPECT_EQ(messages->shown()[0].icon, api::MessageIcon::Warning);
    }
    EXPECT_EQ(status(1, today), QStringLiteral("0"));

    superuserExec(QStringLiteral("delete from dorv.refused_paylist_date where note = 'mealbook test';"
                                 "update school_001.ref_corpus set is_pay_list_blocked = 1, who_blocked = 'Петрова И.И.' where corpus_id = 1"));
    for (const char* handler : {"N2Click", "N3Click"}) {
        messages->clear();
        run(handler);
        EXPECT_EQ(messages->texts(),
                  QStringList{QStringLiteral("Уважаемый пользователь, для выбранного вами корпуса установлен запрет на проведение и откат ведомостей, обратитесь в администрацию комбината для выяснения причины блокировки. \r"
                                             "Администратор Петрова И.И.")})
            << handler;
    }
    EXPECT_EQ(status(1, today), QStringLiteral("0"));
}

TEST_F(MealbookWindowTest, PostingMovesTheBalanceShownAndRollbackMovesItBack) {
    open(true);
    const int pupil = pupilWithParentsPart();
    ASSERT_NE(pupil, 0);
    run("N4Click");
    focusAttr(pupil);
    const double parentsPart = payList().field(QStringLiteral("ovz")).asFloat();
    const double before = payList().field(QStringLiteral("debt")).asFloat();

    run("N2Click");
    run("food_page_class_literChange");
    focusAttr(pupil);
    EXPECT_NEAR(payList().field(QStringLiteral("debt")).asFloat(), before - parentsPart, 0.001);

    run("N3Click");
    run("food_page_class_literChange");
    focusAttr(pupil);
    EXPECT_NEAR(payList().field(QStringLiteral("debt")).asFloat(), before, 0.001);
}

TEST_F(MealbookWindowTest, NoteIsWrittenInAnyStatusAndTheBalanceColumnFollowsTheProperty) {
    open(true);
    child<QPlainTextEdit>("note_memo").setPlainText(QStringLiteral("Карантин во 2А"));
    run("N2Click");
    run("Button1Click");
    EXPECT_EQ(serverText(QStringLiteral("select note from pay_list where corpus = 1 and entry_date = current_date")),
              QStringLiteral("Карантин во 2А"));

    superuserExec(QStringLiteral("update school_001.ref_property set property_value = '0' where name = 'show_balance'"));
    run("food_page_class_literChange");
    auto& grid = child<api::DbGrid>("grid_pay_list");
    EXPECT_TRUE(grid.isColumnHidden(grid.columnOf(QStringLiteral("debt"))));
    EXPECT_GE(payList().fieldIndex(QStringLiteral("debt")), 0) << "still read";
}

TEST_F(MealbookWindowTest, JournalListsTheMonthAndOpensADocumentOfAnotherBuilding) {
    open(false);
    auto& tabs = child<QTabWidget>("accounting_page");
    auto& journalCorpus = child<api::DbLookupCombo>("db_journal_corpus");
    journalCorpus.setKeyValue(2);
    tabs.setCurrentIndex(1);
    db::Query& log = child<db::Query>("z_pay_list_log");
    ASSERT_GT(log.recordCount(), 0);
    EXPECT_EQ(log.field(QStringLiteral("corpus")).asInteger(), 2);
    const QDate first = log.field(QStringLiteral("entry_date")).asDate();
    log.last();
    const QDate last = log.field(QStringLiteral("entry_date")).asDate();
    EXPECT_GE(first, last) << "latest first";

    run("grid_pay_list_logDblClick");
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(corpus(), 2);
    EXPECT_EQ(date(), last);
    EXPECT_TRUE(child<QPushButton>("btn_orders").isEnabled()) << "a kindergarten building";

    tabs.setCurrentIndex(1);
    child<QLineEdit>("ed_year").setText(QStringLiteral("  "));
    messages->clear();
    const int rows = log.recordCount();
    run("Button2Click");
    EXPECT_EQ(messages->lastText(), QStringLiteral("Не указан год. "));
    EXPECT_EQ(child<QLineEdit>("ed_year").text(), QString::number(today.year()));
    EXPECT_EQ(log.recordCount(), rows) << "nothing read";
}

TEST_F(MealbookWindowTest, AccountStatesHideZeroBalancesFilterBySignAndSearchByPrefix) {
    open(false);
    child<QTabWidget>("accounting_page").setCurrentIndex(2);
    db::Query& debts = child<db::Query>("z_debt_school");
    const int all = debts.recordCount();
    ASSERT_GT(all, 0);
    const QString zeros = serverText(QStringLiteral(
        "select count(*) from public.calc_current_debt where edu_org = 'school_001' and debt > -0.01 and debt < 0.01"));
    const QString total = serverText(QStringLiteral("select count(*) from public.calc_current_debt where edu_org = 'school_001'"));
    EXPECT_EQ(all, total.toInt() - zeros.toInt());
    EXPECT_EQ(child<QLabel>("lbl_field").text(), QStringLiteral("Фамилия"));

    child<QRadioButton>("radio_button_belowe").setChecked(true);
    for (debts.first(); !debts.eof(); debts.next()) EXPECT_LT(debts.field(QStringLiteral("debt")).asFloat(), 0);

    child<QRadioButton>("radio_button_both").setChecked(true);
    debts.first();
    const QString surname = debts.field(QStringLiteral("last_name")).asString();
    // The first letters typed in another case find the surname; its tail finds only
    // surnames beginning with it.
    QString prefix = surname.left(2);
    prefix = prefix.left(1).toLower() + prefix.mid(1).toUpper();
    const QString tail = surname.mid(1);
    for (const QString& text : {prefix, tail}) {
        child<QLineEdit>("ed_school_debt").setText(text);
        run("btn_filter_goClick");
        for (debts.first(); !debts.eof(); debts.next())
            EXPECT_TRUE(debts.field(QStringLiteral("last_name")).asString().toUpper().startsWith(text.toUpper()));
        bool found = false;
        for (debts.first(); !debts.eof(); debts.next())
            found = found || debts.field(QStringLiteral("last_name")).asString() == surname;
        EXPECT_EQ(found, text == prefix) << text.toStdString();
    }

    messages->clear();
    child<QLineEdit>("ed_school_debt").setText(QStringLiteral(" "));
    run("btn_filter_goClick");
    EXPECT_EQ(messages->lastText(), QStringLiteral("Не указан текст, по которому будет проводиться поиск"));

    run("btn_filert_undoClick");
    EXPECT_EQ(debts.recordCount(), total.toInt()) << "zero balances shown after clearing with \"Все\"";
}

TEST_F(MealbookWindowTest, RationSubmenuListsEachAvailableRationOnceInNameOrder) {
    open(true);
    run("popup_foodPopup");
    QStringList listed;
    for (QAction* action : child<QMenu>("change_type").actions()) listed << action->text();
    const QString expected = serverText(QStringLiteral(
        "select string_agg(name, '|' order by name) from (select distinct r.name from public.ref_daily_ration r "
        "join daily_ration_available a on a.daily_ration_id = r.daily_ration_id where a.corpus_id = 1 and a.attr = 1) n"));
    EXPECT_EQ(listed.join(u'|'), expected);
}

TEST_F(MealbookWindowTest, ARationChosenForTheDayIsWrittenWhenTheWeekIsDeclined) {
    open(true);
    const int pupil = pupilWithParentsPart();
    ASSERT_NE(pupil, 0);
    const int ration = serverText(QStringLiteral(
        "select min(daily_ration_id) from daily_ration_available where corpus_id = 1 and attr = 1 and daily_ration_id <> "
        "(select daily_ration from pay_list_sp where account_id = %1 and entry_date = current_date)").arg(pupil)).toInt();
    focusAttr(pupil);
    messages->answer(false);
    try {
        QMetaObject::invokeMethod(window_, "get_tag_food", Q_ARG(int, ration));
    } catch (const api::Abort&) {
    }
    EXPECT_EQ(messages->lastText(), QStringLiteral("Закрепить выбранный рацион питания для учащегося на неделю ? "));
    EXPECT_EQ(serverText(QStringLiteral("select daily_ration from pay_list_sp where account_id = %1 and entry_date = current_date").arg(pupil)),
              QString::number(ration));
    EXPECT_EQ(payList().field(QStringLiteral("account_id")).asInteger(), pupil) << "the same pupil stays current";
}

TEST_F(MealbookWindowTest, DisabilityFlagIsSetAndClearedAndAllowanceWithdrawalNeedsOne) {
    open(true);
    db::Query& q = payList();
    int pupil = 0;
    for (q.first(); !q.eof() && !pupil; q.next())
        if (q.field(QStringLiteral("is_700")).asInteger() == 0 && q.field(QStringLiteral("is_invalid")).asInteger() == 0)
            pupil = int(q.field(QStringLiteral("account_id")).asInteger());
    ASSERT_NE(pupil, 0);
    focusAttr(pupil);
    run("N52Click");
    EXPECT_EQ(messages->texts(), QStringList{QStringLiteral("У данного учащегося нет назначенных льгот.")});

    run("N11Click");
    EXPECT_EQ(serverText(QStringLiteral("select is_invalid from public.human where account_id = %1").arg(pupil)), QStringLiteral("1"));
    EXPECT_EQ(q.field(QStringLiteral("account_id")).asInteger(), pupil);
    EXPECT_EQ(q.field(QStringLiteral("is_invalid")).asInteger(), 1) << "reloaded";
    run("N12Click");
    EXPECT_EQ(serverText(QStringLiteral("select coalesce(is_invalid, 0) from public.human where account_id = %1").arg(pupil)),
              QStringLiteral("0"));
    EXPECT_EQ(q.field(QStringLiteral("is_invalid")).asInteger(), 0);
}

TEST_F(MealbookWindowTest, PrintMenuShowsTheStaffListAndGroupReportsOnlyWhereTheBuildingHasThem) {
    open(true);
    struct Case {
        int corpus;
        bool staff;
        bool groups;
    };
    for (const Case& c : {Case{1, false, false}, Case{2, true, true}}) {
        messages->answer(true);
        chooseBuilding(c.corpus);
        ASSERT_EQ(corpus(), c.corpus);
        run("btn_printClick");
        auto& menu = child<QMenu>("popup_print_pay_list");
        EXPECT_EQ(child<QAction>("staff_pay_list").isVisible(), c.staff) << c.corpus;
        EXPECT_EQ(child<QAction>("N34").isVisible(), c.groups) << c.corpus;
        menu.close();
    }
}

}  // namespace
