#pragma once
// A message service for tests: records every box and answers from a script.

#include <QQueue>
#include <QStringList>

#include "messages.h"

namespace api {

class API_EXPORT ScriptedMessages : public MessageService {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
        QString caption;
        bool isQuestion = false;
    };

    void show(const QString& text, MessageIcon icon) override;
    bool ask(const QString& text, const QString& caption, MessageIcon icon) override;
    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override;

    // Answers for the next questions, in order; with none left a question answers No.
    void answer(bool yes) { answers_.enqueue(yes); }
    void answerFile(const QString& path) { files_.enqueue(path); }

    const QList<Shown>& shown() const { return shown_; }
    QString lastText() const { return shown_.isEmpty() ? QString() : shown_.last().text; }
    QStringList texts() const;
    void clear() { shown_.clear(); }

private:
    QList<Shown> shown_;
    QQueue<bool> answers_;
    QQueue<QString> files_;
};

}  // namespace api
