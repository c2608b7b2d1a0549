// Meal types and prices: the window loaded from its plug-in as the staff login, its three
// grids, what each post or delete stores on the server, and the refusals of bad input
// (the window's own and the server's), after which nothing is stored.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include "abort.h"
#include "app_error.h"
#include "connection.h"
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

// A test ration (9100) of one meal type ("Завтрак (семьи мобилизованных)", 12) with prices
// from 01.09.2031, after every demo price; removed again by the fixture.
const char* kSetUp =
    "insert into public.ref_daily_ration values (9100, 'Тест: рацион окна', 0), (9101, 'Тест: пустой рацион', 0);"
    "insert into public.ref_daily_ration_sp values (9100, 12);"
    "insert into public.mealref_price (actual_date, food_type, paralel_min, paralel_max, parent, dorv) values"
    " ('2031-09-01', 12, 1, 4, 11, 1), ('2031-09-01', 12, 5, 11, 22, 2), ('2030-09-01', 12, 1, 11, 7, 0);";
const char* kTearDown =
    "delete from public.mealref_price where actual_date >= '2030-01-01';"
    "delete from public.ref_daily_ration_sp where daily_ration >= 9100;"
    "delete from public.ref_daily_ration where daily_ration_id >= 9100;";

// Answers the next modal picker: selects the meal type of that id (or closes it unchosen).
void answerPicker(int foodTypeId) {
    QTimer::singleShot(0, [foodTypeId] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* z_ref = dialog->findChild<db::Query*>(QStringLiteral("z_ref"));
        auto* btn_select = dialog->findChild<QPushButton*>(QStringLiteral("btn_select"));
        if (z_ref && btn_select && foodTypeId > 0) {
            for (z_ref->first(); !z_ref->eof(); z_ref->next())
                if (z_ref->field(QStringLiteral("food_type_id")).asInteger() == foodTypeId) break;
            btn_select->click();
        } else {
            dialog->close();
        }
    });
}

QString serverText(const QString& sql) {
    auto connection = testsupport::connectAs(QStringLiteral("dorv"));
    db::Query query(connection.get());
    query.setSql(sql);
    query.open();
    return query.recordCount() ? query.field(0).asString() : QStringLiteral("<none>");
}

QString priceRow(const QString& date, int foodType, int min, int max) {
    return serverText(QStringLiteral("select concat_ws(' ', parent, dorv, privilege, subsidy, ovz, staff, junior) "
                                     "from mealref_price where actual_date = '%1' and food_type = %2 "
                                     "and paralel_min = %3 and paralel_max = %4")
                          .arg(date).arg(foodType).arg(min).arg(max));
}

class MealrefWindowTest : public ::testing::Test {
protected:
    MealrefWindowTest() {
        api::setProgramDir(QStringLiteral(DORV_PROGRAM_DIR));
        previous_ = api::setMessageService(messages);
        superuserExec(QString::fromUtf8(kTearDown) + QString::fromUtf8(kSetUp));
        connection_ = testsupport::connectAs(QStringLiteral("dorv"));
        api::setConnection(connection_.get());
        api::load_module(api::packagePath(QStringLiteral("mealref")));
        window_ = api::createByClassName(QStringLiteral("tfrm_mealref"));
        if (!window_) throw std::runtime_error("Tfrm_mealref is not registered");
    }
    ~MealrefWindowTest() override {
        delete window_;
        api::setConnection(nullptr);
        api::setMessageService(previous_);
        superuserExec(QString::fromUtf8(kTearDown));
    }

    db::Query& query(const char* name) {
        auto* q = window_->findChild<db::Query*>(QString::fromLatin1(name));
        if (!q) throw std::runtime_error(std::string(name) + " not found");
        return *q;
    }
    api::DbGrid& grid(const char* name) {
        auto* g = window_->findChild<api::DbGrid*>(QString::fromLatin1(name));
        if (!g) throw std::runtime_error(std::string(name) + " not found");
        return *g;
    }
    QStringList titles(const char* gridName) {
        QStringList result;
        auto* model = grid(gridName).model();
        for (int c = 0; c < model->columnCount(); ++c) result << model->headerData(c, Qt::Horizontal).toString();
        return result;
    }
    void invoke(const char* slot) { ASSERT_TRUE(QMetaObject::invokeMethod(window_, slot)); }

    // Makes the test ration current, as a click on its row does.
    void chooseRation(int id) {
        db::Query& rations = query("z_q_main");
        for (rations.first(); !rations.eof(); rations.next())
            if (rations.field(QStringLiteral("daily_ration_id")).asInteger() == id) break;
        ASSERT_FALSE(rations.eof()) << "ration " << id << " is not listed";
        invoke("DBGrid1CellClick");
    }

    std::shared_ptr<api::ScriptedMessages> messages = std::make_shared<api::ScriptedMessages>();
    QWidget* window_ = nullptr;

private:
    std::unique_ptr<db::Connection> connection_;
    std::shared_ptr<api::MessageService> previous_;
};

TEST_F(MealrefWindowTest, OpensOnTheFirstRationWithItsMealTypesLatestDateAndPrices) {
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Справочник типов питания"));
    EXPECT_EQ(window_->objectName(), QStringLiteral("frm_mealref"));
    EXPECT_EQ(titles("DBGrid1"), (QStringList{QStringLiteral("ID"), QStringLiteral("Наименование")}));
    EXPECT_EQ(grid("DBGrid1").columnWidth(0), 50);
    EXPECT_EQ(grid("DBGrid1").columnWidth(1), 400);
    EXPECT_EQ(titles("grid_ration_sp"), (QStringList{QStringLiteral("Тип питания"), QStringLiteral("Рацион")}));
    EXPECT_EQ(grid("grid_ration_sp").columnWidth(0), 100);
    EXPECT_EQ(titles("grid_price"),
              (QStringList{"Дата", "Мин параллель", "Макс параллель", "СЗП", "КШП", "Л", "Б", "ОВЗ", "ПС", "ПМК"}));
    EXPECT_EQ(grid("grid_price").columnWidth(1), 90);
    EXPECT_EQ(grid("grid_price").columnWidth(9), 60);

    // the withdrawn "no ration" row 0 is not listed; the first ration in use is current
    EXPECT_EQ(query("z_q_main").field(QStringLiteral("daily_ration_id")).asInteger(), 1);
    EXPECT_EQ(query("z_daily_ration_sp").field(QStringLiteral("name")).asString(), QStringLiteral("Завтрак"));
    auto* dates = window_->findChild<QComboBox*>(QStringLiteral("lockup_date"));
    ASSERT_TRUE(dates);
    EXPECT_EQ(dates->currentText(), QStringLiteral("01.09.2026")) << "the latest date is chosen";
    EXPECT_EQ(query("z_price").recordCount(), 3);
}

TEST_F(MealrefWindowTest, NavigationFollowsRationMealTypeAndDate) {
    chooseRation(9100);
    EXPECT_EQ(query("z_daily_ration_sp").recordCount(), 1);
    auto* dates = window_->findChild<QComboBox*>(QStringLiteral("lockup_date"));
    ASSERT_EQ(dates->count(), 5);
    EXPECT_EQ(dates->itemText(0), QStringLiteral("01.09.2031"));
    db::Query& prices = query("z_price");
    EXPECT_EQ(prices.recordCount(), 2);
    dates->setCurrentIndex(1);
    invoke("lockup_dateCloseUp");
    ASSERT_EQ(prices.recordCount(), 1);
    EXPECT_EQ(prices.field(QStringLiteral("parent")).asInteger(), 7);

    chooseRation(9101);  // a ration without meal types: no dates, no prices
    EXPECT_EQ(query("z_daily_ration_sp").recordCount(), 0);
    EXPECT_EQ(dates->count(), 0);
    EXPECT_EQ(query("z_price").recordCount(), 0);
}

TEST_F(MealrefWindowTest, RationsAreInsertedRenamedAndWithdrawnNeverRemoved) {
    db::Query& rations = query("z_q_main");
    rations.append();
    rations.field(QStringLiteral("daily_ration_id")).setValue(QStringLiteral("9102"));
    rations.field(QStringLiteral("name")).setValue(QStringLiteral("Тест: новый"));
    rations.post();
    EXPECT_EQ(serverText("select name || ' ' || disabled from ref_daily_ration where daily_ration_id = 9102"),
              QStringLiteral("Тест: новый 0"));

    rations.edit();
    rations.field(QStringLiteral("name")).setValue(QStringLiteral("Тест: переименован"));
    rations.post();
    EXPECT_EQ(serverText("select name from ref_daily_ration where daily_ration_id = 9102"),
              QStringLiteral("Тест: переименован"));

    const int before = rations.recordCount();
    rations.remove();
    EXPECT_EQ(rations.recordCount(), before - 1) << "hidden at once";
    EXPECT_EQ(serverText("select disabled from ref_daily_ration where daily_ration_id = 9102"), QStringLiteral("1"));
    invoke("N3Click");
    for (rations.first(); !rations.eof(); rations.next())
        EXPECT_NE(rations.field(QStringLiteral("daily_ration_id")).asInteger(), 9102) << "withdrawn rations are not listed";
}

TEST_F(MealrefWindowTest, TitleClickOrdersTheRationsByThatColumn) {
    invoke("DBGrid1CellClick");
    ASSERT_TRUE(QMetaObject::invokeMethod(window_, "DBGrid1TitleClick", Q_ARG(int, 1)));
    EXPECT_TRUE(query("z_q_main").sql().endsWith(QStringLiteral("order by name")));
    invoke("N3Click");
    EXPECT_TRUE(query("z_q_main").sql().endsWith(QStringLiteral("order by daily_ration_id")));
}

TEST_F(MealrefWindowTest, MealTypeIsPickedFromTheReferenceLinkedAndUnlinked) {
    chooseRation(9101);
    db::Query& mealTypes = query("z_daily_ration_sp");
    answerPicker(3);
    mealTypes.insert();
    EXPECT_EQ(mealTypes.field(QStringLiteral("food_type_id")).asInteger(), 3);
    EXPECT_EQ(mealTypes.field(QStringLiteral("name")).asString(), QStringLiteral("Полдник"));
    mealTypes.post();
    EXPECT_EQ(serverText("select string_agg(food_type::text, ',') from ref_daily_ration_sp where daily_ration = 9101"),
              QStringLiteral("3"));

    answerPicker(3);  // the same meal type again: the server refuses, nothing is added
    mealTypes.insert();
    try {
        mealTypes.post();
        ADD_FAILURE() << "a meal type was linked twice";
    } catch (const api::AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Тип питания «Полдник» уже входит в рацион «Тест: пустой рацион»"));
    }
    mealTypes.cancel();

    answerPicker(0);  // closed without a choice: posting the empty row is refused
    mealTypes.insert();
    EXPECT_THROW(mealTypes.post(), api::AppError);
    mealTypes.cancel();

    mealTypes.first();
    mealTypes.remove();
    EXPECT_EQ(serverText("select count(*) from ref_daily_ration_sp where daily_ration = 9101"), QStringLiteral("0"));
}

TEST_F(MealrefWindowTest, PriceNeedsAMealTypeOfTheRation) {
    chooseRation(9101);
    db::Query& prices = query("z_price");
    EXPECT_THROW(prices.insert(), api::Abort);
    EXPECT_EQ(messages->lastText(),
              QStringLiteral("Отсутствует тип питания, перед указанием спецификации добавьте хотя бы 1 тип питания и "
                             "повторите попытку. "));
    EXPECT_EQ(messages->shown().last().icon, api::MessageIcon::Warning);
    EXPECT_EQ(prices.state(), db::Query::State::Browse);
    EXPECT_EQ(prices.recordCount(), 0);
}

TEST_F(MealrefWindowTest, PricesAreStoredAsWholeNumbersAndEditedByTheirOldParallelRange) {
    chooseRation(9100);
    db::Query& prices = query("z_price");
    prices.append();
    const QStringList typed = {"02.01.2032", "31", "32", "10,6", "1.4", "0", "", "3", "4", "5"};
    for (int c = 0; c < typed.size(); ++c) prices.setFieldValue(c, typed[c]);
    prices.post();
    EXPECT_EQ(priceRow("2032-01-02", 12, 31, 32), QStringLiteral("11.00 1.00 0.00 0.00 3.00 4.00 5.00"));

    // a click on the 5-11 row remembers its range; the update finds the row by it
    auto* dates = window_->findChild<QComboBox*>(QStringLiteral("lockup_date"));
    chooseRation(9100);
    dates->setCurrentIndex(dates->findText(QStringLiteral("01.09.2031")));
    invoke("lockup_dateCloseUp");
    for (prices.first(); !prices.eof(); prices.next())
        if (prices.field(QStringLiteral("min_paralel")).asInteger() == 5) break;
    invoke("grid_priceCellClick");
    prices.edit();
    prices.field(QStringLiteral("min_paralel")).setValue(6);
    prices.field(QStringLiteral("parent")).setValue(30);
    prices.post();
    EXPECT_EQ(priceRow("2031-09-01", 12, 6, 11), QStringLiteral("30.00 2.00 0.00 0.00 0.00 0.00 0.00"));
    EXPECT_EQ(priceRow("2031-09-01", 12, 5, 11), QStringLiteral("<none>"));
    EXPECT_EQ(priceRow("2031-09-01", 12, 1, 4), QStringLiteral("11.00 1.00 0.00 0.00 0.00 0.00 0.00"));

    prices.remove();
    EXPECT_EQ(priceRow("2031-09-01", 12, 6, 11), QStringLiteral("<none>"));
}

// Each bad row is refused with its message, stays in the grid as typed, and nothing is stored.
TEST_F(MealrefWindowTest, BadPriceRowsAreRefusedAndNothingIsStored) {
    struct Case {
        QStringList typed;  // date, min, max, СЗП, КШП, Л, Б, ОВЗ, ПС, ПМК
        QString message;
    };
    const Case cases[] = {
        {{"01.02.2032", "1", "4", "-5", "0", "0", "0", "0", "0", "0"},
         "Часть цены «СЗП» не может быть отрицательной: -5.00"},
        {{"01.02.2032", "1", "4", "0", "0", "0", "0", "0", "0", "-1"},
         "Часть цены «ПМК» не может быть отрицательной: -1.00"},
        {{"01.02.2032", "1", "4", "сто", "0", "0", "0", "0", "0", "0"},
         "Значение «сто» в столбце «СЗП» не является числом"},
        {{"01.02.2032", "1", "x4", "0", "0", "0", "0", "0", "0", "0"},
         "Значение «x4» в столбце «Макс параллель» не является числом"},
        {{"2032-02-01", "1", "4", "0", "0", "0", "0", "0", "0", "0"},
         "Значение «2032-02-01» в столбце «Дата» не является датой в формате ДД.ММ.ГГГГ"},
        {{"31.02.2032", "1", "4", "0", "0", "0", "0", "0", "0", "0"},
         "Значение «31.02.2032» в столбце «Дата» не является датой в формате ДД.ММ.ГГГГ"},
        {{"01.02.2032", "9", "2", "0", "0", "0", "0", "0", "0", "0"}, "Минимальная параллель (9) больше максимальной (2)"},
        {{"01.02.2032", "1", "40", "0", "0", "0", "0", "0", "0", "0"}, "Параллели 40 нет в справочнике параллелей"},
        {{"01.09.2031", "3", "6", "0", "0", "0", "0", "0", "0", "0"},
         "Цена типа питания 12 с 01.09.2031 для параллелей 3-6 пересекается с ценой для параллелей 1-4"},
    };
    chooseRation(9100);
    db::Query& prices = query("z_price");
    const QString countSql = QStringLiteral("select count(*) from mealref_price where food_type = 12");
    const QString before = serverText(countSql);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        prices.append();
        for (int column = 0; column < c.typed.size(); ++column) prices.setFieldValue(column, c.typed[column]);
        try {
            prices.post();
            ADD_FAILURE() << "accepted";
        } catch (const api::AppError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(prices.state(), db::Query::State::Insert);
        EXPECT_EQ(prices.field(QStringLiteral("max_paralel")).value().toString(), c.typed[2]) << "kept as typed";
        prices.cancel();
    }
    EXPECT_EQ(serverText(countSql), before);

    // an edit that would overlap another range of the same date is refused as well
    for (prices.first(); !prices.eof(); prices.next())
        if (prices.field(QStringLiteral("min_paralel")).asInteger() == 1) break;
    invoke("grid_priceCellClick");
    prices.edit();
    prices.field(QStringLiteral("max_paralel")).setValue(7);
    EXPECT_THROW(prices.post(), api::AppError);
    prices.cancel();
    EXPECT_EQ(priceRow("2031-09-01", 12, 1, 4), QStringLiteral("11.00 1.00 0.00 0.00 0.00 0.00 0.00"));
}

TEST_F(MealrefWindowTest, FailuresAreLoggedUnderTheModulesName) {
    auto admin = testsupport::connectAs(QStringLiteral("admin"));
    auto logged = [&admin] {
        db::Query q(admin.get());
        q.setSql(QStringLiteral("select count(*) from admin.message_log where schema = 'dorv' and module_name = 'mealref'"));
        q.open();
        return q.field(0).asInteger();
    };
    const auto before = logged();
    db::Query& rations = query("z_q_main");
    rations.append();
    rations.field(QStringLiteral("daily_ration_id")).setValue(9100);  // taken
    rations.field(QStringLiteral("name")).setValue(QStringLiteral("Дубль"));
    try {
        rations.post();
        ADD_FAILURE() << "a taken ration code was accepted";
    } catch (const api::AppError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Рацион с кодом 9100 уже есть: «Тест: рацион окна»"));
    }
    EXPECT_EQ(logged(), before + 1);
}

TEST(MealTypeReferenceTest, AMealTypeInUseCannotBeDeleted) {
    try {
        superuserExec(QStringLiteral("delete from public.mealref_type where food_type_id = 1"));
        ADD_FAILURE() << "a meal type used by rations was deleted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf(QStringLiteral("Тип питания «Завтрак» входит в рацион «Завтрак» "
                                                                     "и не может быть удален")),
                  -1)
            << e.what();
    }
    EXPECT_EQ(serverText("select name from mealref_type where food_type_id = 1"), QStringLiteral("Завтрак"));
}

}  // namespace
