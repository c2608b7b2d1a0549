#include "Paramedit.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "dialog_tag.h"
#include "registry.h"

namespace api {

DORV_REGISTER_CLASS(TParamEditForm);

TParamEditForm::TParamEditForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ParamEditForm"));
    setWindowTitle(QStringLiteral("Параметры построения отчета"));

    StringGrid = new QTableWidget(0, 2, this);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->horizontalHeader()->hide();  // no fixed row
    StringGrid->verticalHeader()->hide();
    StringGrid->horizontalHeader()->setDefaultSectionSize(250);
    StringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid->verticalHeader()->setDefaultSectionSize(18);
    StringGrid->verticalHeader()->setMinimumSectionSize(18);
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid, 1);
    layout->addWidget(OkButton, 0, Qt::AlignRight);
    resize(540, 320);
    connect(OkButton, &QPushButton::clicked, this, &TParamEditForm::OkButtonClick);
}

QString TParamEditForm::cell(int col, int row) const {
    const QTableWidgetItem* item = StringGrid->item(row, col);
    return item ? item->text() : QString();
}

void TParamEditForm::setCell(int col, int row, const QString& text) {
    if (row >= StringGrid->rowCount()) StringGrid->setRowCount(row + 1);
    StringGrid->setItem(row, col, new QTableWidgetItem(text));
}

void TParamEditForm::OkButtonClick() {
    setTag(OkButton, kTagConfirmed);
    accept();
}

}  // namespace api
