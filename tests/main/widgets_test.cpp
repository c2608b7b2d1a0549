// The data-aware grid and the navigator over a real result set.

#include <QToolButton>

#include "dataset_model.h"
#include "db_error.h"
#include "main_test_env.h"
#include "query.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"

namespace {

class DataWidgetsTest : public MainProgramTest {
protected:
    DataWidgetsTest() : connection(testsupport::connectAs(QStringLiteral("school_001"))), query(connection.get()) {
        query.setCachedUpdates(true);
        query.setSql(QStringLiteral("select g as n, 'строка ' || g as t from generate_series(1, 5) g"));
        query.open();
        grid.setQuery(&query);
        navigator.setQuery(&query);
    }
    std::unique_ptr<db::Connection> connection;
    db::Query query;
    api::DbGrid grid;
    api::DbNavigator navigator;
};

TEST_F(DataWidgetsTest, GridRowAndCurrentRecordMoveTogether) {
    EXPECT_EQ(grid.currentIndex().row(), 0);
    query.moveTo(3);
    EXPECT_EQ(grid.currentIndex().row(), 3);
    grid.setCurrentIndex(grid.model()->index(1, 1));
    EXPECT_EQ(query.recNo(), 1);
    EXPECT_EQ(query.field(QStringLiteral("t")).asString(), QStringLiteral("строка 2"));
    navigator.button(api::DbNavigator::Last)->click();
    EXPECT_EQ(grid.currentIndex().row(), 4);
}

TEST_F(DataWidgetsTest, LeavingAnEditedRowPostsItAndAFailedPostKeepsTheRow) {
    int posts = 0;
    bool refuse = false;
    query.beforePost = [&](db::Query&) {
        ++posts;
        if (refuse) throw db::DbError(QStringLiteral("Отказ сервера"));
    };
    grid.model()->setData(grid.model()->index(0, 1), QStringLiteral("правка"));
    EXPECT_EQ(query.state(), db::Query::State::Edit);
    grid.setCurrentIndex(grid.model()->index(2, 1));
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(query.state(), db::Query::State::Browse);
    EXPECT_EQ(grid.model()->index(0, 1).data().toString(), QStringLiteral("правка"));

    refuse = true;
    grid.model()->setData(grid.model()->index(2, 1), QStringLiteral("не пройдет"));
    grid.setCurrentIndex(grid.model()->index(4, 1));
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(query.state(), db::Query::State::Edit) << "the row stays in edit state";
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_EQ(grid.currentIndex().row(), 2) << "the grid goes back to the row";
    EXPECT_EQ(messages->lastText(), QStringLiteral("Отказ сервера"));
}

TEST_F(DataWidgetsTest, ColumnsAreSetUpByFieldName) {
    grid.setColumnTitle(QStringLiteral("t"), QStringLiteral("Текст"));
    grid.setColumnWidthByName(QStringLiteral("t"), 250);
    grid.setColumnHiddenByName(QStringLiteral("n"), true);
    grid.setColumnTitle(QStringLiteral("absent"), QStringLiteral("ничего"));
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Текст"));
    EXPECT_EQ(grid.columnWidth(1), 250);
    EXPECT_TRUE(grid.isColumnHidden(0));
}

TEST_F(DataWidgetsTest, NavigatorInsertsCancelsAndPostsThroughTheQuery) {
    EXPECT_FALSE(navigator.button(api::DbNavigator::Post)->isEnabled());
    navigator.setVisibleButtons({api::DbNavigator::Insert, api::DbNavigator::Post, api::DbNavigator::Cancel});
    EXPECT_TRUE(navigator.findChild<QToolButton*>(QStringLiteral("nav_delete"))->isHidden());
    EXPECT_FALSE(navigator.findChild<QToolButton*>(QStringLiteral("nav_insert"))->isHidden());

    navigator.click(api::DbNavigator::Insert);
    EXPECT_EQ(query.state(), db::Query::State::Insert);
    EXPECT_EQ(query.recordCount(), 6);
    EXPECT_TRUE(navigator.button(api::DbNavigator::Post)->isEnabled());
    navigator.click(api::DbNavigator::Cancel);
    EXPECT_EQ(query.state(), db::Query::State::Browse);
    EXPECT_EQ(query.recordCount(), 5);

    navigator.click(api::DbNavigator::Edit);
    query.field(QStringLiteral("t")).setValue(QStringLiteral("новое"));
    navigator.click(api::DbNavigator::Post);
    EXPECT_EQ(query.state(), db::Query::State::Browse);
    EXPECT_EQ(query.field(QStringLiteral("t")).asString(), QStringLiteral("новое"));
}

}  // namespace
