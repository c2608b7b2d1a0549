#pragma once
// Shows a numeric column with a fixed number of decimals and the decimal comma, the way a
// display format "##0.00" does: at least one integer digit, no thousands separator.

#include <QStyledItemDelegate>

#include "api_export.h"

namespace api {

class API_EXPORT FixedDecimalsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit FixedDecimalsDelegate(int decimals, QObject* parent = nullptr);
    QString displayText(const QVariant& value, const QLocale& locale) const override;

    // The text the delegate shows for a cell's text ("1234.5" or "1234,5" -> "1234,50");
    // text that is not a number is shown as it is.
    static QString format(const QString& text, int decimals);

private:
    int decimals_;
};

}  // namespace api
