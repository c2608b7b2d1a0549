#pragma once
// The record navigator under a grid: first, prior, next, last, insert, delete, edit, post,
// cancel, refresh, acting on one query. Buttons are found by object name
// ("nav_first", "nav_prior", ...) and each can be hidden.

#include <QPointer>
#include <QWidget>
#include <array>

#include "api_export.h"
#include "query.h"

class QToolButton;


namespace api {

class API_EXPORT DbNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh, ButtonCount };

    explicit DbNavigator(QWidget* parent = nullptr);

    void setQuery(db::Query* query);
    db::Query* query() const { return query_; }

    void setButtonVisible(Button button, bool visible);
    // Shows exactly the given buttons.
    void setVisibleButtons(std::initializer_list<Button> buttons);
    QToolButton* button(Button button) const { return buttons_[size_t(button)]; }

    // Asked before a record is deleted; the default asks nothing.
    bool confirmDelete = false;

public slots:
    void click(api::DbNavigator::Button button);

private:
    void updateButtons();

    QPointer<db::Query> query_;
    std::array<QToolButton*, ButtonCount> buttons_{};
    QMetaObject::Connection stateConnection_, currentConnection_;
};

}  // namespace api
