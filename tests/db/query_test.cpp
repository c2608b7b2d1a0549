#include <gtest/gtest.h>

#include "db_error.h"
#include "query.h"
#include "test_cluster.h"

namespace {

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override { conn = testsupport::connectAs(QStringLiteral("school_001")); }
    std::unique_ptr<db::Connection> conn;
};

TEST_F(QueryTest, ParametersTravelWithTheirTypes) {
    db::Query q(conn.get());
    q.addSql("select :t as t, :i + 1 as i, :f * 2 as f, :d + 1 as d, :dt as dt, :n::text as n,");
    q.addSql("  pg_typeof(:i) as ti, pg_typeof(:f) as tf");
    q.param("t").setText(QStringLiteral("Ёлкин Пётр"));
    q.param("i").setInteger(41);
    q.param("f").setFloat(1.25);
    q.param("d").setDate(QDate(2024, 2, 28));
    q.param("dt").setDateTime(QDateTime(QDate(2024, 3, 1), QTime(13, 45, 30)));
    q.param("n").setNull();
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.field("t").asString(), QStringLiteral("Ёлкин Пётр"));
    EXPECT_EQ(q.field("i").asInteger(), 42);
    EXPECT_DOUBLE_EQ(q.field("f").asFloat(), 2.5);
    EXPECT_EQ(q.field("d").asDate(), QDate(2024, 2, 29));
    EXPECT_EQ(q.field("dt").asDateTime(), QDateTime(QDate(2024, 3, 1), QTime(13, 45, 30)));
    EXPECT_TRUE(q.field("n").isNull());
    EXPECT_EQ(q.field("n").asString(), QString());
    EXPECT_EQ(q.field("ti").asString(), QStringLiteral("integer"));
    EXPECT_EQ(q.field("tf").asString(), QStringLiteral("numeric"));
}

TEST_F(QueryTest, TextDateInShortFormatIsReadAsADate) {
    db::Query q(conn.get());
    q.addSql("select cast(:d as date) as d, to_char(cast(:d as date), 'dd.mm.yyyy') as s");
    q.param("d").setText(QStringLiteral("29.02.2024"));
    q.open();
    EXPECT_EQ(q.field("d").asDate(), QDate(2024, 2, 29));
    EXPECT_EQ(q.field("d").asString(), QStringLiteral("29.02.2024"));
    EXPECT_EQ(q.field("s").asString(), QStringLiteral("29.02.2024"));
}

TEST_F(QueryTest, NavigationWalksEveryRecordOnce) {
    db::Query q(conn.get());
    q.addSql("select g as n from generate_series(1, 5) g order by g");
    q.open();
    EXPECT_EQ(q.recordCount(), 5);
    QList<qint64> seen;
    for (q.first(); !q.eof(); q.next()) seen << q.field("n").asInteger();
    EXPECT_EQ(seen, (QList<qint64>{1, 2, 3, 4, 5}));
    q.last();
    EXPECT_EQ(q.field("N").asInteger(), 5) << "field names are case-insensitive";
    q.prior();
    EXPECT_EQ(q.field("n").asInteger(), 4);
    q.first();
    q.prior();
    EXPECT_TRUE(q.bof());
    EXPECT_EQ(q.field("n").asInteger(), 1);
}

TEST_F(QueryTest, EmptyResultIsBothBofAndEof) {
    db::Query q(conn.get());
    q.addSql("select 1 as x where false");
    q.open();
    EXPECT_EQ(q.recordCount(), 0);
    EXPECT_TRUE(q.eof());
    EXPECT_TRUE(q.bof());
    EXPECT_TRUE(q.field("x").isNull());
    EXPECT_EQ(q.field("x").asInteger(), 0);
}

TEST_F(QueryTest, MissingFieldOrParameterIsAnError) {
    db::Query q(conn.get());
    q.addSql("select 1 as x where 1 = :a");
    EXPECT_THROW(q.param("b"), db::DbError);
    q.param("a").setInteger(1);
    q.open();
    EXPECT_THROW(q.field("y"), db::DbError);
}

TEST_F(QueryTest, ServerErrorsCarryMessageAndSqlstate) {
    struct Case { const char* sql; const char* state; };
    for (const Case& c : {Case{"select * from no_such_table", "42P01"},
                          Case{"select 1/0", "22012"},
                          Case{"select cast('31.02.2024' as date)", "22008"},
                          Case{"select * from pg_authid", "42501"}}) {
        db::Query q(conn.get());
        q.addSql(QString::fromUtf8(c.sql));
        try {
            q.open();
            ADD_FAILURE() << c.sql << " did not fail";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.sqlstate(), QString::fromLatin1(c.state)) << c.sql << ": " << e.what();
            EXPECT_FALSE(e.message().isEmpty());
        }
        EXPECT_FALSE(q.isOpen());
    }
}

TEST_F(QueryTest, RussianMessagesRaisedByTheServerArriveIntact) {
    db::Query q(conn.get());
    q.addSql("do $$ begin raise exception 'Документ уже проведен' using detail = 'doc 12'; end $$");
    try {
        q.exec();
        FAIL();
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Документ уже проведен"));
        EXPECT_EQ(e.detail(), QStringLiteral("doc 12"));
        EXPECT_EQ(e.fullText(), QStringLiteral("Документ уже проведен\ndoc 12"));
    }
}

TEST_F(QueryTest, ClientFilterKeepsRecordsByPrefixOfTheColumn) {
    db::Query q(conn.get());
    q.addSql("select * from (values (1, 'Иванов'), (2, 'иваненко'), (3, 'Петров'), (4, null)) v(id, name)");
    q.open();
    q.setPrefixFilter("name", QStringLiteral("ива"));
    EXPECT_EQ(q.recordCount(), 2);
    q.first();
    EXPECT_EQ(q.field("id").asInteger(), 1);
    q.next();
    EXPECT_EQ(q.field("id").asInteger(), 2);
    q.setFiltered(false);
    EXPECT_EQ(q.recordCount(), 4);
    q.setPrefixFilter("name", QString());
    EXPECT_EQ(q.recordCount(), 4) << "an empty filter keeps every record";
}

TEST_F(QueryTest, LostConnectionIsReportedAsSuch) {
    db::Query pid(conn.get());
    pid.addSql("select pg_backend_pid() as pid");
    pid.open();
    testsupport::superuserExec(QStringLiteral("select pg_terminate_backend(%1);").arg(pid.field("pid").asInteger()));
    db::Query q(conn.get());
    q.addSql("select 1");
    try {
        q.open();
        FAIL() << "a statement on a terminated session succeeded";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.isConnectionFailure() || e.sqlstate() == QLatin1String("57P01")) << e.what();
    }
    EXPECT_FALSE(q.isOpen());
}

TEST_F(QueryTest, ExecReportsAffectedRowsAndKeepsNoResult) {
    db::Query q(conn.get());
    q.addSql("create temporary table t(x int); insert into t select generate_series(1, 3)");
    q.exec();
    q.clearSql();
    q.addSql("update t set x = x + 1 where x >= :m");
    q.param("m").setInteger(2);
    q.exec();
    EXPECT_EQ(q.rowsAffected(), 2);
    EXPECT_FALSE(q.isOpen());
}

}  // namespace
