// Organisation properties: the window loaded from its plug-in, editing and inserting rows
// of the signed-in user's property table, one statement per post.

#include <gtest/gtest.h>

#include <QDir>
#include <QHeaderView>
#include <QTableView>

#include "app_error.h"
#include "connection.h"
#include "messages.h"
#include "module_launcher.h"
#include "query.h"
#include "registry.h"
#include "scripted_messages.h"
#include "session.h"
#include "test_cluster.h"

namespace {

using testsupport::superuserExec;

// One value of the login's own view of a property table.
QString valueAs(const QString& login, const QString& table, const QString& name, const QString& column) {
    auto connection = testsupport::connectAs(login);
    db::Query query(connection.get());
    query.addSql(QStringLiteral("select %1 from %2 where name = :name").arg(column, table));
    query.param(QStringLiteral("name")).setText(name);
    query.open();
    return query.recordCount() ? query.field(0).asString() : QStringLiteral("<none>");
}

class RefPropertyTest : public ::testing::Test {
protected:
    RefPropertyTest() {
        api::setProgramDir(QStringLiteral(DORV_PROGRAM_DIR));
        previous_ = api::setMessageService(messages);
        superuserExec(QStringLiteral(
            "insert into school_001.ref_property values ('test_a', 'Описание А', '1'), ('test_b', 'Описание Б', '2');"
            "insert into school_002.ref_property values ('test_a', 'Чужое', '9');"
            "insert into dorv.ref_property values ('test_a', 'Комбинат', '5')"));
    }
    ~RefPropertyTest() override {
        delete window_;
        api::setConnection(nullptr);
        api::setMessageService(previous_);
        superuserExec(QStringLiteral("delete from school_001.ref_property where name like 'test_%';"
                                     "delete from school_002.ref_property where name like 'test_%';"
                                     "delete from dorv.ref_property where name like 'test_%'"));
    }

    // Signs in and opens the window the way the main window's launcher does.
    db::Query& open(const QString& login) {
        connection_ = testsupport::connectAs(login);
        api::setConnection(connection_.get());
        api::load_module(api::packagePath(QStringLiteral("pkg_orgprops")));
        window_ = api::createByClassName(QStringLiteral("tfrm_ref_property"));
        if (!window_) throw std::runtime_error("Tfrm_ref_property is not registered");
        auto* query = window_->findChild<db::Query*>(QStringLiteral("z_property"));
        if (!query) throw std::runtime_error("z_property not found");
        return *query;
    }

    static bool seek(db::Query& query, const QString& name) {
        for (query.first(); !query.eof(); query.next())
            if (query.field(QStringLiteral("name")).asString() == name) return true;
        return false;
    }

    std::shared_ptr<api::ScriptedMessages> messages = std::make_shared<api::ScriptedMessages>();
    QWidget* window_ = nullptr;

private:
    std::unique_ptr<db::Connection> connection_;
    std::shared_ptr<api::MessageService> previous_;
};

TEST_F(RefPropertyTest, WindowListsTheSchoolsOwnPropertiesWithTitledColumns) {
    db::Query& query = open(QStringLiteral("school_001"));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Свойства ОУ"));
    EXPECT_TRUE(seek(query, QStringLiteral("test_a")));
    EXPECT_EQ(query.field(QStringLiteral("note")).asString(), QStringLiteral("Описание А")) << "not another school's row";
    auto* grid = window_->findChild<QTableView*>(QStringLiteral("grid_propery"));
    ASSERT_TRUE(grid);
    const QStringList titles = {QStringLiteral("Системное имя"), QStringLiteral("Описание"), QStringLiteral("Значение")};
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(grid->model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
    EXPECT_EQ(grid->columnWidth(1), 200);
    EXPECT_EQ(grid->columnWidth(2), 250);
}

TEST_F(RefPropertyTest, EditingARowUpdatesExactlyTheRowOfThatName) {
    db::Query& query = open(QStringLiteral("school_001"));
    ASSERT_TRUE(seek(query, QStringLiteral("test_a")));
    query.edit();
    query.field(QStringLiteral("property_value")).setValue(QStringLiteral("новое значение"));
    query.post();

    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_a"),
                      QStringLiteral("property_value")),
              QStringLiteral("новое значение"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_a"),
                      QStringLiteral("note")),
              QStringLiteral("Описание А"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_b"),
                      QStringLiteral("property_value")),
              QStringLiteral("2"));
    EXPECT_EQ(valueAs(QStringLiteral("school_002"), QStringLiteral("ref_property"), QStringLiteral("test_a"),
                      QStringLiteral("property_value")),
              QStringLiteral("9"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("dorv.ref_property"), QStringLiteral("test_a"),
                      QStringLiteral("property_value")),
              QStringLiteral("5"));
    EXPECT_EQ(query.state(), db::Query::State::Browse);
}

TEST_F(RefPropertyTest, RenamingARowUpdatesTheRowThatBearsTheNewName) {
    db::Query& query = open(QStringLiteral("school_001"));
    ASSERT_TRUE(seek(query, QStringLiteral("test_a")));
    query.edit();
    query.field(QStringLiteral("name")).setValue(QStringLiteral("test_b"));
    query.post();
    const QString table = QStringLiteral("ref_property");
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), table, QStringLiteral("test_a"), QStringLiteral("property_value")),
              QStringLiteral("1"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), table, QStringLiteral("test_b"), QStringLiteral("property_value")),
              QStringLiteral("1"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), table, QStringLiteral("test_b"), QStringLiteral("note")),
              QStringLiteral("Описание А"));
}

TEST_F(RefPropertyTest, InsertingSendsTheInsertAndCancelSendsNothing) {
    db::Query& query = open(QStringLiteral("school_001"));
    query.insert();
    query.field(QStringLiteral("name")).setValue(QStringLiteral("test_new"));
    query.field(QStringLiteral("property_value")).setValue(QStringLiteral("42"));
    query.post();
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_new"),
                      QStringLiteral("property_value")),
              QStringLiteral("42"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_new"),
                      QStringLiteral("coalesce(note, '<null>')")),
              QString()) << "an empty field is sent as an empty text";

    query.insert();
    query.field(QStringLiteral("name")).setValue(QStringLiteral("test_cancelled"));
    query.cancel();
    ASSERT_TRUE(seek(query, QStringLiteral("test_b")));
    query.edit();
    query.field(QStringLiteral("note")).setValue(QStringLiteral("не сохранять"));
    query.cancel();
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_cancelled"),
                      QStringLiteral("name")),
              QStringLiteral("<none>"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_b"),
                      QStringLiteral("note")),
              QStringLiteral("Описание Б"));
}

TEST_F(RefPropertyTest, FailingPostIsLoggedRaisedAndKeepsTheRowBeingEdited) {
    db::Query& query = open(QStringLiteral("school_001"));
    auto admin = testsupport::connectAs(QStringLiteral("admin"));
    auto count = [&admin] {
        db::Query q(admin.get());
        q.setSql(QStringLiteral("select count(*) as n from admin.message_log where schema = 'school_001' and "
                                "module_name = 'ref_propery'"));
        q.open();
        return q.field(QStringLiteral("n")).asInteger();
    };
    const auto before = count();

    query.insert();
    query.field(QStringLiteral("name")).setValue(QStringLiteral("test_a"));  // the name is taken
    query.field(QStringLiteral("property_value")).setValue(QStringLiteral("дубль"));
    EXPECT_THROW(query.post(), api::AppError);

    EXPECT_EQ(query.state(), db::Query::State::Insert);
    EXPECT_EQ(query.field(QStringLiteral("property_value")).asString(), QStringLiteral("дубль"));
    EXPECT_EQ(count(), before + 1);
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_a"),
                      QStringLiteral("property_value")),
              QStringLiteral("1"));
}

TEST_F(RefPropertyTest, AdministratorEditsTheOrganisationsTable) {
    db::Query& query = open(QStringLiteral("admin"));
    ASSERT_TRUE(seek(query, QStringLiteral("test_a")));
    EXPECT_EQ(query.field(QStringLiteral("note")).asString(), QStringLiteral("Комбинат"));
    query.edit();
    query.field(QStringLiteral("property_value")).setValue(QStringLiteral("6"));
    query.post();
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("dorv.ref_property"), QStringLiteral("test_a"),
                      QStringLiteral("property_value")),
              QStringLiteral("6"));
    EXPECT_EQ(valueAs(QStringLiteral("school_001"), QStringLiteral("ref_property"), QStringLiteral("test_a"),
                      QStringLiteral("property_value")),
              QStringLiteral("1"));
}

}  // namespace
