#include <gtest/gtest.h>

#include <QDateEdit>
#include <QFile>
#include <QTemporaryDir>

#include "app_error.h"
#include "db_error.h"
#include "dm_api.h"
#include "query.h"
#include "session.h"
#include "test_cluster.h"

namespace {

class TapiDmTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn = testsupport::connectAs(QStringLiteral("school_001"));
        api::setConnection(conn.get());
    }
    void TearDown() override { api::setConnection(nullptr); }

    QVariant scalar(const QString& sql) {
        db::Query q(conn.get());
        q.addSql(sql);
        q.open();
        return q.field(0).value();
    }

    std::unique_ptr<db::Connection> conn;
};

TEST_F(TapiDmTest, MonthLengthIsTheLastDayAsTwoDigits) {
    struct Case { int month, year; const char* days; };
    for (const Case& c : {Case{2, 2024, "29"}, Case{2, 2023, "28"}, Case{1, 2023, "31"}, Case{4, 2024, "30"}}) {
        EXPECT_EQ(api::Tapi_dm::get_month_length(c.month, c.year), QString::fromLatin1(c.days))
            << c.month << "." << c.year;
    }
}

TEST_F(TapiDmTest, ServerDatesComeFromTheServer) {
    const QDate today = api::Tapi_dm::get_curr_date();
    EXPECT_EQ(today, scalar(QStringLiteral("select current_date")).toDate());
    EXPECT_EQ(api::Tapi_dm::get_yesterday_date(), today.addDays(-1));
    EXPECT_EQ(api::Tapi_dm::get_current_year(), today.year());
    EXPECT_EQ(api::Tapi_dm::get_current_month(), today.month());
    EXPECT_EQ(api::Tapi_dm::get_last_date(QDate(2024, 2, 10)), QDate(2024, 2, 29));
    EXPECT_EQ(api::Tapi_dm::build_date_from_src(2023, 2), QDate(2023, 2, 28));
    QDateEdit start, end;
    api::Tapi_dm::get_range_date(&start, &end);
    EXPECT_EQ(start.date(), QDate(today.year(), today.month(), 1));
    EXPECT_EQ(end.date(), today);
}

TEST_F(TapiDmTest, FullNameOfAMissingAccountIsASentence) {
    EXPECT_EQ(api::Tapi_dm::get_fullname_by_id(999999999),
              QStringLiteral("Учащийся с номером счета 999999999 не найден"));
    const QVariant id = scalar(QStringLiteral("select min(account_id) from human"));
    ASSERT_FALSE(id.isNull());
    EXPECT_FALSE(api::Tapi_dm::get_fullname_by_id(id.toInt()).contains(QStringLiteral("не найден")));
}

TEST_F(TapiDmTest, InvalidAttributeZeroIsStoredAsNull) {
    const int id = scalar(QStringLiteral("select min(h.account_id) from human h join human_available a using (account_id)")).toInt();
    ASSERT_GT(id, 0);
    const QVariant before = scalar(QStringLiteral("select is_invalid from public.human where account_id = %1").arg(id));
    api::Tapi_dm::set_is_invalid_attr(1, id);
    EXPECT_EQ(scalar(QStringLiteral("select is_invalid from public.human where account_id = %1").arg(id)).toInt(), 1);
    api::Tapi_dm::set_is_invalid_attr(0, id);
    EXPECT_TRUE(scalar(QStringLiteral("select is_invalid from public.human where account_id = %1").arg(id)).isNull());
    if (!before.isNull()) api::Tapi_dm::set_is_invalid_attr(before.toInt(), id);
}

TEST_F(TapiDmTest, FeatureSwitchIsOnOnlyForStatusOne) {
    testsupport::superuserExec(QStringLiteral(
        "delete from admin.acl_sch_func where func_name in ('test_on', 'test_off');"
        "insert into admin.acl_sch_func (func_name, func_descr, status) values ('test_on', 'проверка', 1), ('test_off', 'проверка', 0);"));
    EXPECT_TRUE(api::Tapi_dm::get_acl_list_for_function(QStringLiteral("test_on")));
    EXPECT_FALSE(api::Tapi_dm::get_acl_list_for_function(QStringLiteral("test_off")));
    EXPECT_FALSE(api::Tapi_dm::get_acl_list_for_function(QStringLiteral("test_missing")));
    testsupport::superuserExec(QStringLiteral("delete from admin.acl_sch_func where func_name in ('test_on', 'test_off');"));
}

TEST_F(TapiDmTest, LoggedRoutinesWriteTheFailureAndRaiseAPlainError) {
    testsupport::superuserExec(QStringLiteral("delete from admin.message_log where module_name = 'dm_api';"));
    EXPECT_THROW(api::Tapi_dm::build_date_from_src(2024, 13), api::AppError);
    auto admin = testsupport::connectAs(QStringLiteral("admin"));
    db::Query log(admin.get());
    log.addSql("select schema, message from admin.message_log where module_name = 'dm_api'");
    log.open();
    ASSERT_EQ(log.recordCount(), 1);
    EXPECT_EQ(log.field("schema").asString(), QStringLiteral("school_001"));
    EXPECT_FALSE(log.field("message").asString().isEmpty());
}

TEST_F(TapiDmTest, UnloggedRoutinesPassTheDatabaseErrorThrough) {
    testsupport::superuserExec(QStringLiteral("delete from admin.message_log where module_name = 'dm_api';"));
    api::setConnection(nullptr);
    EXPECT_THROW(api::Tapi_dm::get_dorv_org_name(), db::DbError);
}

TEST_F(TapiDmTest, FileVersionIsReadFromTheStampedFile) {
    QTemporaryDir dir;
    const QString stamped = dir.filePath(QStringLiteral("prog"));
    QFile f(stamped);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x7f" "ELF....") + "DORV-FILE-" + "VERSION:2.0.0.327" + QByteArray(1, '\0') + "tail");
    f.close();
    EXPECT_EQ(api::Tapi_dm::GetFileVersion(stamped), QStringLiteral("2.0.0.327"));
    EXPECT_EQ(api::Tapi_dm::GetFileVersion(QString()), QString());
    EXPECT_EQ(api::Tapi_dm::GetFileVersion(dir.filePath(QStringLiteral("missing"))), QString());
    EXPECT_EQ(api::Tapi_dm::GetFileVersion(QStringLiteral(DORV_PROGRAM_DIR "/dorv_main")), api::programVersion());
}

}  // namespace
