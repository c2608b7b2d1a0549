#include "Unit_input_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "abort.h"
#include "dates.h"
#include "dialog_release.h"
#include "dialog_tag.h"
#include "messages.h"
#include "registry.h"
#include "russian_layout_on_click.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_input);

Tfrm_input::Tfrm_input(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_input"));
    setWindowTitle(QStringLiteral("Форма ввода информации"));
    releaseWhenClosed(this);

    lbl_paralel = new QLabel(this);
    lbl_paralel->setObjectName(QStringLiteral("lbl_paralel"));
    lbl_class = new QLabel(this);
    lbl_class->setObjectName(QStringLiteral("lbl_class"));
    ed_head = new QLineEdit(this);
    ed_head->setObjectName(QStringLiteral("ed_head"));
    ed_field = new QLineEdit(this);
    ed_field->setObjectName(QStringLiteral("ed_field"));
    RussianLayoutOnClick::install(ed_field);
    lbl_date = new QLabel(QStringLiteral("На дату"), this);
    date_create_class = new QLineEdit(this);
    date_create_class->setObjectName(QStringLiteral("date_create_class"));
    date_create_class->setInputMask(QStringLiteral("99.99.9999; "));
    btn_input_add = new QPushButton(QStringLiteral("Сохранить"), this);
    btn_input_add->setObjectName(QStringLiteral("btn_input_add"));
    btn_cancel = new QPushButton(QStringLiteral("Отмена"), this);
    btn_cancel->setObjectName(QStringLiteral("btn_cancel"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(lbl_paralel, 0, 0);
    layout->addWidget(lbl_class, 0, 1);
    layout->addWidget(ed_head, 1, 0, 1, 2);
    layout->addWidget(ed_field, 2, 0, 1, 2);
    layout->addWidget(lbl_date, 3, 0);
    layout->addWidget(date_create_class, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_input_add);
    buttons->addWidget(btn_cancel);
    layout->addLayout(buttons, 4, 0, 1, 2);

    connect(btn_input_add, &QPushButton::clicked, this, &Tfrm_input::btn_input_addClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_input::btn_cancelClick);
}

void Tfrm_input::btn_input_addClick() {
    if (!fromShortDate(date_create_class->text()).isValid()) {
        error(QStringLiteral("Не указана дата создания класса либо формат даты введен с ошибкой "));
        setTag(btn_input_add, 0);
        abortSilently();
    }
    if (ed_field->text().trimmed().isEmpty()) {
        warning(QStringLiteral("Нельзя указывать пустые значения поля. Введите текст"));
        ed_field->setFocus();
        abortSilently();
    }
    setTag(btn_input_add, kTagConfirmed);
    accept();
}

void Tfrm_input::btn_cancelClick() { reject(); }

}  // namespace api
