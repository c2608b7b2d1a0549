#include "russian_layout_on_click.h"

#include <QEvent>
#include <QWidget>

#include "keyboard_layout.h"

namespace api {

void RussianLayoutOnClick::install(QWidget* field) { field->installEventFilter(new RussianLayoutOnClick(field)); }

bool RussianLayoutOnClick::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) switchToRussianLayout();
    return QObject::eventFilter(watched, event);
}

}  // namespace api
