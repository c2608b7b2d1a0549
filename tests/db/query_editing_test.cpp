#include <gtest/gtest.h>

#include "app_error.h"
#include "db_error.h"
#include "query.h"
#include "test_cluster.h"

namespace {

class QueryEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn = testsupport::connectAs(QStringLiteral("school_001"));
        q = std::make_unique<db::Query>(conn.get());
        q->setCachedUpdates(true);
        q->addSql("select * from (values ('a', 'один'), ('b', 'два'), ('c', 'три')) v(name, note) order by 1");
        q->open();
        q->beforePost = [this](db::Query& d) {
            posted << QStringLiteral("%1:%2=%3")
                          .arg(d.state() == db::Query::State::Insert ? "insert" : "update",
                               d.field("name").asString(), d.field("note").asString());
            if (failNextPost) {
                failNextPost = false;
                throw api::AppError(QStringLiteral("Сервер отказал"));
            }
        };
    }

    std::unique_ptr<db::Connection> conn;
    std::unique_ptr<db::Query> q;
    QStringList posted;
    bool failNextPost = false;
};

TEST_F(QueryEditingTest, PostSendsOnceAndKeepsWhatWasTyped) {
    q->moveTo(1);
    q->edit();
    q->field("note").setValue(QStringLiteral("два!"));
    q->post();
    EXPECT_EQ(posted, QStringList{"update:b=два!"});
    EXPECT_EQ(q->state(), db::Query::State::Browse);
    EXPECT_EQ(q->field("note").asString(), QStringLiteral("два!"));
    q->post();  // nothing to post any more
    EXPECT_EQ(posted.size(), 1);
}

TEST_F(QueryEditingTest, FailedPostLeavesTheRecordInEditStateWithItsValues) {
    q->moveTo(0);
    q->edit();
    q->field("note").setValue(QStringLiteral("новое"));
    failNextPost = true;
    EXPECT_THROW(q->post(), api::AppError);
    EXPECT_EQ(q->state(), db::Query::State::Edit);
    EXPECT_EQ(q->field("note").asString(), QStringLiteral("новое"));
    q->post();
    EXPECT_EQ(q->state(), db::Query::State::Browse);
    EXPECT_EQ(posted.size(), 2);
}

TEST_F(QueryEditingTest, CancelRestoresAndSendsNothing) {
    q->moveTo(2);
    q->edit();
    q->field("note").setValue(QStringLiteral("xxx"));
    q->cancel();
    EXPECT_EQ(q->field("note").asString(), QStringLiteral("три"));
    q->append();
    q->field("name").setValue("d");
    q->cancel();
    EXPECT_EQ(q->recordCount(), 3);
    EXPECT_TRUE(posted.isEmpty());
}

TEST_F(QueryEditingTest, InsertedRecordIsPostedAsInsertAndStays) {
    q->moveTo(1);
    q->insert();
    EXPECT_EQ(q->recordCount(), 4);
    EXPECT_EQ(q->recNo(), 1);
    q->field("name").setValue("ab");
    q->field("note").setValue(QStringLiteral("между"));
    q->next();  // leaving the record posts it
    EXPECT_EQ(posted, QStringList{"insert:ab=между"});
    QStringList names;
    for (q->first(); !q->eof(); q->next()) names << q->field("name").asString();
    EXPECT_EQ(names, (QStringList{"a", "ab", "b", "c"}));
}

TEST_F(QueryEditingTest, DeleteRunsItsHookFirstAndAFailingHookKeepsTheRecord) {
    int deletes = 0;
    q->beforeDelete = [&](db::Query& d) {
        ++deletes;
        if (d.field("name").asString() == QLatin1String("b")) throw api::AppError(QStringLiteral("Нельзя"));
    };
    q->moveTo(1);
    EXPECT_THROW(q->remove(), api::AppError);
    EXPECT_EQ(q->recordCount(), 3);
    q->moveTo(0);
    q->remove();
    EXPECT_EQ(q->recordCount(), 2);
    EXPECT_EQ(q->field("name").asString(), QStringLiteral("b"));
    EXPECT_EQ(deletes, 2);
}

TEST_F(QueryEditingTest, EditsNeedCachedUpdates) {
    db::Query ro(conn.get());
    ro.addSql("select 1 as x");
    ro.open();
    EXPECT_THROW(ro.edit(), db::DbError);
}

TEST_F(QueryEditingTest, FilterAppliesToEditedValues) {
    q->moveTo(0);
    q->edit();
    q->field("note").setValue(QStringLiteral("тридцать"));
    q->post();
    q->setPrefixFilter("note", QStringLiteral("тр"));
    EXPECT_EQ(q->recordCount(), 2);
}

}  // namespace
