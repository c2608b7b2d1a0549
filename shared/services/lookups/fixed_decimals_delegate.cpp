#include "fixed_decimals_delegate.h"

namespace api {

FixedDecimalsDelegate::FixedDecimalsDelegate(int decimals, QObject* parent)
    : QStyledItemDelegate(parent), decimals_(decimals) {}

QString FixedDecimalsDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    Q_UNUSED(locale);
    return format(value.toString(), decimals_);
}

QString FixedDecimalsDelegate::format(const QString& text, int decimals) {
    if (text.isEmpty()) return text;
    QString plain = text;
    plain.replace(u',', u'.');
    bool ok = false;
    const double number = plain.toDouble(&ok);
    if (!ok) return text;
    return QString::number(number, 'f', decimals).replace(u'.', u',');
}

}  // namespace api
