#include "Unit_select_desk_admin.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_tag.h"
#include "query.h"
#include "widgets/db_grid.h"

Tfrm_desk_men::Tfrm_desk_men(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_desk_men"));
    setWindowTitle(QStringLiteral("Выбор дежурного администратора"));
    z_adm_list = new db::Query(this);
    z_adm_list->setObjectName(QStringLiteral("z_adm_list"));
    grid_adm_list = new api::DbGrid(this);
    grid_adm_list->setObjectName(QStringLiteral("grid_adm_list"));
    grid_adm_list->setQuery(z_adm_list);
    grid_adm_list->setReadOnly(true);
    grid_adm_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    btn_select_adm = new QPushButton(QStringLiteral("Выбрать"), this);
    btn_select_adm->setObjectName(QStringLiteral("btn_select_adm"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_adm_list, 1);
    layout->addWidget(btn_select_adm, 0, Qt::AlignRight);
    resize(420, 300);
    connect(btn_select_adm, &QPushButton::clicked, this, &Tfrm_desk_men::btn_select_admClick);
}

void Tfrm_desk_men::FormShow() {
    grid_adm_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_adm_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // columns 1 and 3 to 6 hidden; the full name alone is shown
    for (int column = 0; column < z_adm_list->fieldCount(); ++column)
        grid_adm_list->setColumnHidden(column, column != 1);
    grid_adm_list->setColumnTitle(QStringLiteral("full_name"), QStringLiteral("Ф.И.О"));
    grid_adm_list->setColumnWidthByName(QStringLiteral("full_name"), 375);
}

void Tfrm_desk_men::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void Tfrm_desk_men::btn_select_admClick() {
    api::setTag(btn_select_adm, api::kTagConfirmed);
    done(QDialog::Accepted);
}

// The close box (QDialog::closeEvent calls reject) and Escape end the dialog with the
// highlighted row too.
void Tfrm_desk_men::reject() { btn_select_admClick(); }
