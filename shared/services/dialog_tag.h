#pragma once
// The dialogs' way of reporting a choice: the confirming button's (or the dialog's) integer
// property "tag" is set before the dialog closes (666, or 1 for the reference picker); the
// caller reads it after the modal run and treats any other value as a cancel.

#include <QObject>
#include <QVariant>

namespace api {

inline constexpr int kTagConfirmed = 666;
inline constexpr int kTagSelected = 1;  // the reference picker's "Выбрать"

inline void setTag(QObject* object, int tag) { object->setProperty("tag", tag); }
inline int tagOf(const QObject* object) { return object ? object->property("tag").toInt() : 0; }

}  // namespace api
