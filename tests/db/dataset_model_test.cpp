#include <gtest/gtest.h>

#include <QSignalSpy>

#include "dataset_model.h"
#include "test_cluster.h"

namespace {

TEST(DatasetModelTest, ShowsTheQueryAndFollowsItsChanges) {
    auto conn = testsupport::connectAs(QStringLiteral("school_001"));
    db::Query q(conn.get());
    q.setCachedUpdates(true);
    q.addSql("select * from (values (1, 'Иванов', 12.5::numeric, date '2024-09-01', null::text))");
    q.addSql("  v(id, name, amount, day, empty)");
    db::DatasetModel model(&q);
    EXPECT_EQ(model.rowCount(), 0);
    q.open();
    ASSERT_EQ(model.rowCount(), 1);
    ASSERT_EQ(model.columnCount(), 5);
    model.setTitle("name", QStringLiteral("Фамилия"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Фамилия"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("id"));
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("12,5"));
    EXPECT_EQ(model.data(model.index(0, 3)).toString(), QStringLiteral("01.09.2024"));
    EXPECT_EQ(model.data(model.index(0, 4)).toString(), QString());
    EXPECT_EQ(model.data(model.index(0, 3), Qt::EditRole).toDate(), QDate(2024, 9, 1));

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    q.append();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_TRUE(model.setData(model.index(1, 1), QStringLiteral("Петров")));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QStringLiteral("Петров"));
    q.cancel();
    EXPECT_EQ(model.rowCount(), 1);

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    q.close();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
