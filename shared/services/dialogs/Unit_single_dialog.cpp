#include "Unit_single_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "abort.h"
#include "db_lookup_combo.h"
#include "dialog_tag.h"
#include "messages.h"
#include "registry.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_single_input_dialog);

Tfrm_single_input_dialog::Tfrm_single_input_dialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_single_input_dialog"));
    setWindowTitle(QStringLiteral("Создание группы"));

    lbl_group_name = new QLabel(QStringLiteral("Группа"), this);
    lbl_group_name->setObjectName(QStringLiteral("lbl_group_name"));
    ed_name = new QLineEdit(this);
    ed_name->setObjectName(QStringLiteral("ed_name"));
    lbl_teacher = new QLabel(QStringLiteral("Преподаватель"), this);
    db_teachers = new DbLookupCombo(this);
    db_teachers->setObjectName(QStringLiteral("db_teachers"));
    btn_go = new QPushButton(QStringLiteral("Создать"), this);
    btn_go->setObjectName(QStringLiteral("btn_go"));

    auto* layout = new QFormLayout(this);
    layout->addRow(lbl_group_name, ed_name);
    layout->addRow(lbl_teacher, db_teachers);
    layout->addRow(btn_go);
    resize(420, 130);
    connect(btn_go, &QPushButton::clicked, this, &Tfrm_single_input_dialog::btn_goClick);
}

void Tfrm_single_input_dialog::btn_goClick() {
    if (ed_name->text().trimmed().isEmpty()) {
        warning(QStringLiteral("Нельзя указывать пустые значения поля. Введите текст"));
        ed_name->setFocus();
        abortSilently();
    }
    setTag(btn_go, kTagConfirmed);
    accept();
}

}  // namespace api
