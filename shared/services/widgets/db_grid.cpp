#include "db_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <exception>

#include "app_exception.h"
#include "dataset_model.h"
#include "query.h"

namespace api {

DbGrid::DbGrid(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setAlternatingRowColors(false);
    setWordWrap(false);
    // Fixed sizes: no measuring of contents, whatever the number of rows.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
}

void DbGrid::setQuery(db::Query* query) {
    if (query_) disconnect(query_, nullptr, this, nullptr);
    query_ = query;
    auto* old = model_;
    model_ = query ? new db::DatasetModel(query, this) : nullptr;
    setModel(model_);
    delete old;
    if (!query) return;
    connect(query, &db::Query::currentChanged, this, &DbGrid::followQuery);
    connect(query, &db::Query::reset, this, [this] { followQuery(query_ ? query_->recNo() : -1); });
    followQuery(query->recNo());
}

int DbGrid::columnOf(const QString& fieldName) const {
    return query_ ? query_->fieldIndex(fieldName) : -1;
}

void DbGrid::setColumnTitle(const QString& fieldName, const QString& title) {
    if (model_) model_->setTitle(fieldName, title);
}

void DbGrid::setColumnWidthByName(const QString& fieldName, int width) {
    const int column = columnOf(fieldName);
    if (column >= 0) setColumnWidth(column, width);
}

void DbGrid::setColumnHiddenByName(const QString& fieldName, bool hidden) {
    const int column = columnOf(fieldName);
    if (column >= 0) setColumnHidden(column, hidden);
}

void DbGrid::setReadOnly(bool on) {
    if (model_) model_->setReadOnly(on);
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
}

// The query moved (navigator, code): put the view's cursor on the same row.
void DbGrid::followQuery(int row) {
    if (syncing_ || !model_) return;
    syncing_ = true;
    const int column = qMax(0, currentIndex().column());
    if (row >= 0 && row < model_->rowCount())
        setCurrentIndex(model_->index(row, column));
    syncing_ = false;
}

// The user moved: move the query too. Moving off an edited record posts it; when the post
// fails the view goes back to that record and the error is reported like any other.
void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (syncing_ || !query_ || !current.isValid() || current.row() == query_->recNo()) return;
    try {
        query_->moveTo(current.row());
    } catch (...) {
        const auto error = std::current_exception();
        followQuery(query_->recNo());
        handleException(error);
    }
}

void DbGrid::keyPressEvent(QKeyEvent* event) {
    if (query_ && state() != QAbstractItemView::EditingState) {
        try {
            if (event->key() == Qt::Key_Escape && query_->isModified()) {
                query_->cancel();
                return;
            }
            if (event->key() == Qt::Key_Insert && query_->isOpen()) {
                query_->post();
                query_->insert();
                return;
            }
            if (event->key() == Qt::Key_Down && query_->isOpen() && query_->recNo() == query_->recordCount() - 1 &&
                query_->state() == db::Query::State::Browse && model_ && (model_->flags(currentIndex()) & Qt::ItemIsEditable)) {
                query_->append();
                return;
            }
        } catch (...) {
            handleException(std::current_exception());
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

}  // namespace api
