#include "Unit_legend.h"

#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "widgets/db_grid.h"
#include "legend_marks.h"
#include "query.h"
#include "registry.h"
#include "session.h"

namespace api {

DORV_REGISTER_CLASS(Tfrm_legend);

namespace {

// Draws the name cell the way the pupil grids draw a row with that mark.
class LegendNameDelegate : public QStyledItemDelegate {
public:
    LegendNameDelegate(int codeColumn, QObject* parent) : QStyledItemDelegate(parent), codeColumn_(codeColumn) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        switch (index.sibling(index.row(), codeColumn_).data(Qt::EditRole).toInt()) {
        case legend::CurrentPrivilege: option->backgroundBrush = legend::currentPrivilegeColor(); break;
        case legend::PrivilegeEndsThisMonth: option->backgroundBrush = legend::privilegeEndsColor(); break;
        case legend::Disability: option->font.setBold(true); break;
        default: break;
        }
    }

private:
    int codeColumn_;
};

}  // namespace

Tfrm_legend::Tfrm_legend(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_legend"));
    z_legend = new db::Query(this);
    z_legend->setObjectName(QStringLiteral("z_legend"));
    grid_legend = new DbGrid(this);
    grid_legend->setObjectName(QStringLiteral("grid_legend"));
    grid_legend->setQuery(z_legend);
    grid_legend->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_legend);
    resize(340, 160);
}

void Tfrm_legend::FormShow() {
    z_legend->setConnection(&connection());
    z_legend->close();
    z_legend->clearSql();
    z_legend->addSql(QStringLiteral("select 1 as code, cast('Действующая льгота 700 р' as varchar(128)) as name   "));
    z_legend->addSql(QStringLiteral("union select 2 as code, cast('Срок действия льготы заканчивается в этом месяце' as varchar(128)) as name"));
    z_legend->addSql(QStringLiteral("union select 3 as code, cast('Учащийся с инвалидностью' as varchar(128)) as name"));
    z_legend->addSql(QStringLiteral("order by 1 asc"));
    z_legend->open();
    grid_legend->setColumnHiddenByName(QStringLiteral("code"), true);
    grid_legend->setColumnTitle(QStringLiteral("name"), QStringLiteral("Значение"));
    grid_legend->setColumnWidthByName(QStringLiteral("name"), 280);
    const int nameColumn = grid_legend->columnOf(QStringLiteral("name"));
    if (nameColumn >= 0 && !grid_legend->itemDelegateForColumn(nameColumn))
        grid_legend->setItemDelegateForColumn(
            nameColumn, new LegendNameDelegate(grid_legend->columnOf(QStringLiteral("code")), grid_legend));
}

void Tfrm_legend::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

}  // namespace api
