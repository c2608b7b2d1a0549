#include "wait_cursor.h"

#include <QGuiApplication>

namespace api {

WaitCursor::WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace api
