#include "scripted_messages.h"

#include "session.h"

namespace api {

void ScriptedMessages::show(const QString& text, MessageIcon icon) {
    shown_.append({text, icon, applicationTitle(), false});
}

bool ScriptedMessages::ask(const QString& text, const QString& caption, MessageIcon icon) {
    shown_.append({text, icon, caption, true});
    return answers_.isEmpty() ? false : answers_.dequeue();
}

QString ScriptedMessages::openFileName(const QString&, const QString&, const QString&) {
    return files_.isEmpty() ? QString() : files_.dequeue();
}

QString ScriptedMessages::saveFileName(const QString&, const QString&, const QString&) {
    return files_.isEmpty() ? QString() : files_.dequeue();
}

QStringList ScriptedMessages::texts() const {
    QStringList list;
    for (const Shown& s : shown_) list << s.text;
    return list;
}

}  // namespace api
