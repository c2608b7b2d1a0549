#include "Shared_dlg.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/db_grid.h"
#include "dialog_release.h"
#include "dialog_tag.h"
#include "query.h"
#include "registry.h"
#include "russian_layout_on_click.h"
#include "session.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_ref_sel);

Tfrm_ref_sel::Tfrm_ref_sel(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_ref_sel"));
    setWindowTitle(QStringLiteral("Выберите данные из справочника"));
    releaseWhenClosed(this);

    z_ref = new db::Query(connectionOrNull(), this);
    z_ref->setObjectName(QStringLiteral("z_ref"));
    lbl_search = new QLabel(QStringLiteral("Текст для поиска"), this);
    lbl_search->setObjectName(QStringLiteral("lbl_search"));
    ed_search = new QLineEdit(this);
    ed_search->setObjectName(QStringLiteral("ed_search"));
    RussianLayoutOnClick::install(ed_search);
    grid_ref = new DbGrid(this);
    grid_ref->setObjectName(QStringLiteral("grid_ref"));
    grid_ref->setQuery(z_ref);
    grid_ref->setReadOnly(true);
    grid_ref->installEventFilter(this);
    btn_select = new QPushButton(QStringLiteral("Выбрать"), this);
    btn_select->setObjectName(QStringLiteral("btn_select"));
    btn_select->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbl_search);
    layout->addWidget(ed_search);
    layout->addWidget(grid_ref, 1);
    layout->addWidget(btn_select, 0, Qt::AlignRight);
    resize(560, 480);

    connect(ed_search, &QLineEdit::textChanged, this, &Tfrm_ref_sel::ed_searchChange);
    connect(btn_select, &QPushButton::clicked, this, &Tfrm_ref_sel::btn_selectClick);
}

void Tfrm_ref_sel::set_query(const QString& sql) {
    z_ref->close();
    z_ref->setSql(sql);
}

void Tfrm_ref_sel::run_query(const QString& title1, const QString& title2, int width1, int width2) {
    z_ref->open();
    titles_ = {title1, title2};
    widths_ = {width1, width2};
    applyColumns();
}

void Tfrm_ref_sel::applyColumns() {
    for (int column = 0; column < qMin(2, z_ref->fieldCount()); ++column) {
        if (column < titles_.size()) grid_ref->setColumnTitle(z_ref->fieldName(column), titles_.at(column));
        if (column < widths_.size()) grid_ref->setColumnWidth(column, widths_.at(column));
    }
}

void Tfrm_ref_sel::FormShow() {
    // The layout the caller gave is the one every search restores.
    titles_.clear();
    widths_.clear();
    for (int column = 0; column < qMin(2, z_ref->fieldCount()); ++column) {
        titles_ << grid_ref->model()->headerData(column, Qt::Horizontal).toString();
        widths_ << grid_ref->columnWidth(column);
    }
    grid_ref->setFocus();
}

void Tfrm_ref_sel::ed_searchChange() {
    z_ref->close();
    z_ref->param(QStringLiteral("par_name")).setText(u'%' + ed_search->text() + u'%');
    z_ref->param(QStringLiteral("par_name_all")).setInteger(1);
    z_ref->open();
    applyColumns();
}

void Tfrm_ref_sel::btn_selectClick() {
    setTag(btn_select, kTagSelected);
    accept();
}

void Tfrm_ref_sel::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

bool Tfrm_ref_sel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ref && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btn_select->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace api
