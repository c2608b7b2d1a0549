#include "pay_list_grid.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <cmath>

#include "acc_food.h"
#include "dialogs/legend_marks.h"
#include "dm_api.h"
#include "lookups/fixed_decimals_delegate.h"
#include "query.h"
#include "widgets/db_grid.h"

namespace mealbook {

namespace {

// The "ate" mark: a check for 1, a cross otherwise (the check and cross of a symbol font).
const QString kAteGlyph = QString(QChar(0x2714));
const QString kNotAteGlyph = QString(QChar(0x2718));

class PayListDelegate : public QStyledItemDelegate {
public:
    PayListDelegate(api::DbGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        db::Query* query = grid_->query();
        if (!query) return;
        const QString field = query->fieldName(index.column());
        const auto value = [&](const char* name) {
            const int column = query->fieldIndex(QString::fromLatin1(name));
            return column < 0 ? QVariant() : query->valueAt(index.row(), column);
        };
        if (field == QLatin1String("attr")) {
            const bool ate = value("attr").toInt() == 1;
            option->text = ate ? kAteGlyph : kNotAteGlyph;
            option->font.setPointSize(14);
            option->font.setBold(true);
            option->displayAlignment = Qt::AlignCenter;
            option->palette.setColor(QPalette::Text, ate ? QColor(0, 128, 0) : QColor(255, 0, 0));
            option->palette.setColor(QPalette::HighlightedText, ate ? QColor(0, 128, 0) : QColor(255, 0, 0));
        } else if (field == QLatin1String("fio")) {
            option->font.setBold(value("is_invalid").toInt() == 1);
            if (value("is_700").toInt() == 1)
                option->backgroundBrush = value("end_priv").toInt() == 1 ? api::legend::privilegeEndsColor()
                                                                         : api::legend::currentPrivilegeColor();
        } else if (field == QLatin1String("debt")) {
            const QVariant debt = value("debt");
            option->font.setBold(!debt.isNull() && std::round(debt.toDouble()) < 0);
            if (!debt.isNull())
                option->text = api::FixedDecimalsDelegate::format(query->rawTextAt(index.row(), index.column()), 2);
        }
    }

private:
    api::DbGrid* grid_;
};

// Hints over the column titles only; elsewhere none.
class TitleHints : public QObject {
public:
    TitleHints(api::DbGrid* grid) : QObject(grid), grid_(grid) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !grid_->query()) return false;
        auto* help = static_cast<QHelpEvent*>(event);
        const int column = grid_->horizontalHeader()->logicalIndexAt(help->pos());
        const QString hint = column < 0 ? QString() : payListTitleHint(grid_->query()->fieldName(column));
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, grid_->horizontalHeader());
        return true;
    }

private:
    api::DbGrid* grid_;
};

}  // namespace

QString payListTitleHint(const QString& fieldName) {
    static const QHash<QString, QString> partHints{
        {QStringLiteral("ovz"), QStringLiteral("Средства законного представителя")},
        {QStringLiteral("parrent"), QStringLiteral("Питание за счет КШП")},
        {QStringLiteral("privilege"), QStringLiteral("Льготное питание")},
        {QStringLiteral("dor_v"), QStringLiteral("Бесплатное питание")},
        {QStringLiteral("subsidy"), QStringLiteral("Особые возможности здоровья")},
        {QStringLiteral("staff"), QStringLiteral("Питание сотрудников")},
        {QStringLiteral("junior"), QStringLiteral("Питание младших классов")},
        {QStringLiteral("mob"), QStringLiteral("Питание детей с семей мобилизованных")},
        {QStringLiteral("fam"), QStringLiteral("Питание детей с семей многодетных")},
    };
    if (fieldName == QLatin1String("debt"))
        return QStringLiteral("Состояние счета на ") + api::Tapi_dm::get_max_calc_date(QStringLiteral("calc_current_debt"));
    return partHints.value(fieldName);
}

void installPayListLook(api::DbGrid* grid) {
    grid->setItemDelegate(new PayListDelegate(grid));
    grid->horizontalHeader()->viewport()->installEventFilter(new TitleHints(grid));
}

}  // namespace mealbook

// Titles, widths and hidden columns of the pay list, in the order of its fields.
void Tfrm_mealbook::paint_list() {
    struct Column {
        const char* field;
        const char* title;
        int width;
    };
    static const Column kColumns[] = {
        {"account_id", "№ Счета", 70}, {"fio", "Ф.И.О", 200},  {"name", "Тип питания", 400},
        {"attr", "Питался", 70},       {"debt", "Баланс", 60}, {"ovz", "СЗП", 60},
        {"parrent", "КШП", 60},        {"privilege", "Л", 60}, {"dor_v", "Б", 60},
        {"subsidy", "ОВЗ", 60},        {"staff", "ПС", 60},    {"junior", "ПМК", 60},
        {"mob", "Моб", 60},            {"fam", "Мдет", 60},    {"total", "Итого", 70},
    };
    for (const Column& column : kColumns) {
        grid_pay_list->setColumnTitle(QString::fromLatin1(column.field), QString::fromUtf8(column.title));
        grid_pay_list->setColumnWidthByName(QString::fromLatin1(column.field), column.width);
    }
    for (const char* hidden : {"is_invalid", "is_700", "end_priv"})
        grid_pay_list->setColumnHiddenByName(QString::fromLatin1(hidden), true);
    grid_pay_list->setColumnHiddenByName(QStringLiteral("debt"), !is_show_balance());
}
