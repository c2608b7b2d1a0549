#include "db_navigator.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

#include "messages.h"
#include "query.h"

namespace api {

namespace {

struct ButtonLook {
    const char* objectName;
    const char* text;
    const char* hint;
    QStyle::StandardPixmap icon;
};

constexpr ButtonLook kLooks[DbNavigator::ButtonCount] = {
    {"nav_first", "|◄", "Первая запись", QStyle::SP_MediaSkipBackward},
    {"nav_prior", "◄", "Предыдущая запись", QStyle::SP_MediaSeekBackward},
    {"nav_next", "►", "Следующая запись", QStyle::SP_MediaSeekForward},
    {"nav_last", "►|", "Последняя запись", QStyle::SP_MediaSkipForward},
    {"nav_insert", "+", "Вставить запись", QStyle::SP_FileDialogNewFolder},
    {"nav_delete", "−", "Удалить запись", QStyle::SP_TrashIcon},
    {"nav_edit", "▲", "Изменить запись", QStyle::SP_FileDialogDetailedView},
    {"nav_post", "✓", "Сохранить изменения", QStyle::SP_DialogApplyButton},
    {"nav_cancel", "✗", "Отменить изменения", QStyle::SP_DialogCancelButton},
    {"nav_refresh", "↻", "Обновить данные", QStyle::SP_BrowserReload},
};

}  // namespace

DbNavigator::DbNavigator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("navigator"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < ButtonCount; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kLooks[i].objectName));
        b->setIcon(style()->standardIcon(kLooks[i].icon));
        b->setText(QString::fromUtf8(kLooks[i].text));
        b->setToolTip(QString::fromUtf8(kLooks[i].hint));
        b->setAutoRaise(false);
        const auto which = Button(i);
        connect(b, &QToolButton::clicked, this, [this, which] { click(which); });
        buttons_[size_t(i)] = b;
        layout->addWidget(b);
    }
    layout->addStretch();
    updateButtons();
}

void DbNavigator::setQuery(db::Query* query) {
    disconnect(stateConnection_);
    disconnect(currentConnection_);
    query_ = query;
    if (query_) {
        stateConnection_ = connect(query_, &db::Query::stateChanged, this, &DbNavigator::updateButtons);
        currentConnection_ = connect(query_, &db::Query::currentChanged, this, &DbNavigator::updateButtons);
    }
    updateButtons();
}

void DbNavigator::setButtonVisible(Button b, bool visible) { buttons_[size_t(b)]->setVisible(visible); }

void DbNavigator::setVisibleButtons(std::initializer_list<Button> visible) {
    for (int i = 0; i < ButtonCount; ++i) buttons_[size_t(i)]->setVisible(false);
    for (Button b : visible) buttons_[size_t(b)]->setVisible(true);
}

void DbNavigator::click(Button b) {
    if (!query_ || !query_->isOpen()) return;
    db::Query& q = *query_;
    switch (b) {
    case First: q.first(); break;
    case Prior: q.prior(); break;
    case Next: q.next(); break;
    case Last: q.last(); break;
    case Insert:
        q.post();
        q.insert();
        break;
    case Delete:
        if (q.recordCount() == 0) break;
        if (confirmDelete && !api::ask(QStringLiteral("Удалить запись?"))) break;
        q.remove();
        break;
    case Edit: q.edit(); break;
    case Post: q.post(); break;
    case Cancel: q.cancel(); break;
    case Refresh: {
        q.cancel();
        const int row = q.recNo();
        q.open();
        if (row >= 0) q.moveTo(qMin(row, q.recordCount() - 1));
        break;
    }
    case ButtonCount: break;
    }
    updateButtons();
}

void DbNavigator::updateButtons() {
    const bool open = query_ && query_->isOpen();
    const bool editing = open && query_->isModified();
    const bool browsing = open && !editing;
    const bool hasRows = open && query_->recordCount() > 0;
    const int row = open ? query_->recNo() : -1;
    const int last = open ? query_->recordCount() - 1 : -1;
    // moving off a record being edited posts it first, as in the grid
    buttons_[First]->setEnabled(hasRows && row > 0);
    buttons_[Prior]->setEnabled(hasRows && row > 0);
    buttons_[Next]->setEnabled(hasRows && row < last);
    buttons_[Last]->setEnabled(hasRows && row < last);
    buttons_[Insert]->setEnabled(open);
    buttons_[Delete]->setEnabled(open && hasRows);
    buttons_[Edit]->setEnabled(browsing && hasRows);
    buttons_[Post]->setEnabled(editing);
    buttons_[Cancel]->setEnabled(editing);
    buttons_[Refresh]->setEnabled(open);
}

}  // namespace api
