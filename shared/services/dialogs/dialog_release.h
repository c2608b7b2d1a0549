#pragma once
// A dialog that frees itself when it closes. The deletion is deferred to the event loop
// that called exec(), so the caller can still read the dialog right after the modal run
// (and may delete it itself: a pending deferred deletion dies with the object).

#include <QDialog>

namespace api {

inline void releaseWhenClosed(QDialog* dialog) {
    QObject::connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
}

}  // namespace api
