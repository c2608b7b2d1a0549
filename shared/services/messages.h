#pragma once
// Message boxes, Yes/No questions and file dialogs for every window. All go through one
// service so tests can script the answers (ScriptedMessages).

#include <QString>
#include <QStringList>
#include <memory>

#include "api_export.h"

class QWidget;

namespace api {

enum class MessageIcon { Information, Warning, Error, Question };

class API_EXPORT MessageService {
public:
    virtual ~MessageService() = default;
    // A modal box with an OK button; the caption is the application title.
    virtual void show(const QString& text, MessageIcon icon) = 0;
    // A modal Yes/No box; true on Yes.
    virtual bool ask(const QString& text, const QString& caption, MessageIcon icon) = 0;
    // Empty when the user cancels.
    virtual QString openFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& dir, const QString& filter) = 0;
};

// The service every window uses. A QMessageBox/QFileDialog one unless replaced.
API_EXPORT MessageService& messages();
// Replaces the service (tests); returns the previous one. nullptr restores the default.
API_EXPORT std::shared_ptr<MessageService> setMessageService(std::shared_ptr<MessageService> service);

// Shorthands with the system's conventions: completions use the information icon,
// refusals the warning icon, malformed input and failures the error icon; questions are
// Yes/No boxes titled "Вопрос".
API_EXPORT void info(const QString& text);
API_EXPORT void warning(const QString& text);
API_EXPORT void error(const QString& text);
API_EXPORT bool ask(const QString& text);

}  // namespace api
