#include <gtest/gtest.h>

#include "named_sql.h"

namespace {

struct Case {
    const char* sql;
    const char* expected;
    QStringList names;
};

class NamedSqlTest : public ::testing::TestWithParam<Case> {};

TEST_P(NamedSqlTest, PlaceholdersReplaceOnlyRealParameters) {
    const Case& c = GetParam();
    const db::NamedSql parsed = db::parseNamedSql(QString::fromUtf8(c.sql));
    EXPECT_EQ(QString::fromUtf8(parsed.text), QString::fromUtf8(c.expected));
    EXPECT_EQ(parsed.names, c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NamedSqlTest,
    ::testing::Values(
        Case{"select * from f(:x_a, :x_b)", "select * from f($1, $2)", {"x_a", "x_b"}},
        Case{"where r.user_name =:username", "where r.user_name =$1", {"username"}},
        Case{"a = :p and b = :P", "a = $1 and b = $1", {"p"}},  // one name, one placeholder
        Case{"select ':no', \"a:b\" from t where x = :yes", "select ':no', \"a:b\" from t where x = $1", {"yes"}},
        Case{"select 'it''s :no' || :yes", "select 'it''s :no' || $1", {"yes"}},
        Case{"select x::date, :d", "select x::date, $1", {"d"}},
        Case{"-- :no\nselect :yes /* :no */", "-- :no\nselect $1 /* :no */", {"yes"}},
        Case{"do $$ begin x := :no; end $$; select :yes", "do $$ begin x := :no; end $$; select $1", {"yes"}},
        Case{"select $body$ :no $body$, :yes", "select $body$ :no $body$, $1", {"yes"}},
        Case{"select arr[1:2] from t", "select arr[1:2] from t", {}},
        Case{"set corpus_1c_code = :1c_code", "set corpus_1c_code = $1", {"1c_code"}},
        Case{"values (:имя)", "values ($1)", {"имя"}}));

}  // namespace
