#pragma once
// A data-aware grid: a table view over a query whose current record follows the view's
// current row (and back). Leaving a row that is being edited posts it, as the user
// expects from a database grid; a failed post keeps the row current and in edit state.
// Columns are set up by field name. Column widths are never computed from the contents,
// so a grid over a large result opens as fast as the result itself.

#include <QPointer>
#include <QTableView>

#include "api_export.h"
#include "query.h"

namespace db { class DatasetModel; }

namespace api {

class API_EXPORT DbGrid : public QTableView {
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);

    // Shows the query; the grid owns the model it creates for it.
    void setQuery(db::Query* query);
    db::Query* query() const { return query_; }
    db::DatasetModel* datasetModel() const { return model_; }

    // Column set-up by field name; a field the query does not have is ignored.
    void setColumnTitle(const QString& fieldName, const QString& title);
    void setColumnWidthByName(const QString& fieldName, int width);
    void setColumnHiddenByName(const QString& fieldName, bool hidden);
    int columnOf(const QString& fieldName) const;

    void setReadOnly(bool on);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void followQuery(int row);

    QPointer<db::Query> query_;
    db::DatasetModel* model_ = nullptr;
    bool syncing_ = false;
};

}  // namespace api
