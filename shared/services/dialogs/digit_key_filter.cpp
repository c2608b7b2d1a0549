#include "digit_key_filter.h"

#include <QKeyEvent>
#include <QWidget>

namespace api {

void DigitKeyFilter::install(QWidget* field) { field->installEventFilter(new DigitKeyFilter(field)); }

bool DigitKeyFilter::accepts(QChar typed) {
    return (typed >= u'0' && typed <= u'9') || typed == QChar(8) || typed == QChar(22);
}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste) || key->key() == Qt::Key_Backspace) return false;
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    return !accepts(text.front());  // true drops the key
}

}  // namespace api
