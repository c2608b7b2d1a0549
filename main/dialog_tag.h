#pragma once
// The dialogs' way of reporting a choice: the confirming button's "tag" set to 666 before
// the dialog closes; the caller reads it after the modal run.

#include <QObject>
#include <QVariant>

inline constexpr int kTagConfirmed = 666;

inline void setTag(QObject* object, int tag) { object->setProperty("tag", tag); }
inline int tagOf(const QObject* object) { return object->property("tag").toInt(); }
