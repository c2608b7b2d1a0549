#include "Unit_orders.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_tag.h"
#include "dialogs/digit_key_filter.h"
#include "registry.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_orders);

namespace {

QLineEdit* countField(const QString& name, const QString& caption, QFormLayout* form, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    DigitKeyFilter::install(field);
    form->addRow(caption, field);
    return field;
}

}  // namespace

Tfrm_orders::Tfrm_orders(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_orders"));
    setWindowTitle(QStringLiteral("Заявки"));
    auto* four = new QGroupBox(QStringLiteral("4-х разовое питание"), this);
    auto* fourForm = new QFormLayout(four);
    ed_junior_4 = countField(QStringLiteral("ed_junior_4"), QStringLiteral("Ясли"), fourForm, four);
    ed_chgard_4 = countField(QStringLiteral("ed_chgard_4"), QStringLiteral("Сад"), fourForm, four);
    auto* five = new QGroupBox(QStringLiteral("5 ти разовое питание"), this);
    auto* fiveForm = new QFormLayout(five);
    ed_junior_5 = countField(QStringLiteral("ed_junior_5"), QStringLiteral("Ясли"), fiveForm, five);
    ed_chgard_5 = countField(QStringLiteral("ed_chgard_5"), QStringLiteral("Сад"), fiveForm, five);
    ed_tub_junior_5 = countField(QStringLiteral("ed_tub_junior_5"), QStringLiteral("Туб ясли"), fiveForm, five);
    ed_tub_chgard_5 = countField(QStringLiteral("ed_tub_chgard_5"), QStringLiteral("Туб сад"), fiveForm, five);
    ed_diabetes_junior_5 = countField(QStringLiteral("ed_diabetes_junior_5"), QStringLiteral("Сахар ясли"), fiveForm, five);
    ed_diabetes_chgard_5 = countField(QStringLiteral("ed_diabetes_chgard_5"), QStringLiteral("Сахар сад"), fiveForm, five);
    btn_go = new QPushButton(QStringLiteral("Рассчитать"), this);
    btn_go->setObjectName(QStringLiteral("btn_go"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(four);
    layout->addWidget(five);
    layout->addWidget(btn_go, 0, Qt::AlignRight);
    connect(btn_go, &QPushButton::clicked, this, &Tfrm_orders::btn_goClick);
}

void Tfrm_orders::btn_goClick() {
    setTag(btn_go, kTagConfirmed);
    accept();
}

}  // namespace api
