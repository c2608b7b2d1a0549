#include "unit_view_actual_news.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_tag.h"

Tfrm_show_actual_news::Tfrm_show_actual_news(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_show_actual_news"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    lbl_title = new QLabel(this);
    lbl_title->setObjectName(QStringLiteral("lbl_title"));
    QFont bold = lbl_title->font();
    bold.setBold(true);
    lbl_title->setFont(bold);
    lbl_title->setWordWrap(true);
    memo_text_news = new QPlainTextEdit(this);
    memo_text_news->setObjectName(QStringLiteral("memo_text_news"));
    memo_text_news->setReadOnly(true);
    memo_text_news->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    btn_view = new QPushButton(QStringLiteral("Ознакомлен"), this);
    btn_view->setObjectName(QStringLiteral("btn_view"));
    btn_close = new QPushButton(QStringLiteral("Закрыть"), this);
    btn_close->setObjectName(QStringLiteral("btn_close"));
    btn_show_news = new QPushButton(QStringLiteral("Список новостей"), this);
    btn_show_news->setObjectName(QStringLiteral("btn_show_news"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_show_news);
    buttons->addStretch();
    buttons->addWidget(btn_view);
    buttons->addWidget(btn_close);
    layout->addWidget(lbl_title);
    layout->addWidget(memo_text_news, 1);
    layout->addLayout(buttons);
    resize(520, 360);
    connect(btn_view, &QPushButton::clicked, this, &Tfrm_show_actual_news::btn_viewClick);
    connect(btn_close, &QPushButton::clicked, this, &Tfrm_show_actual_news::btn_closeClick);
    connect(btn_show_news, &QPushButton::clicked, this, &Tfrm_show_actual_news::btn_show_newsClick);
}

void Tfrm_show_actual_news::btn_viewClick() {
    api::setTag(btn_view, api::kTagConfirmed);
    close();
}

void Tfrm_show_actual_news::btn_closeClick() { close(); }

void Tfrm_show_actual_news::btn_show_newsClick() {
    api::setTag(btn_show_news, api::kTagConfirmed);
    close();
}
