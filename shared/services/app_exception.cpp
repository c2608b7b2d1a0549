#include "app_exception.h"

#include <QStringList>

#include "abort.h"
#include "messages.h"
#include "session.h"

namespace api {

namespace {

bool hasCyrillic(const QString& line) {
    for (QChar c : line) {
        const char16_t u = c.unicode();
        // "А".."я" and the two letters of the same code page range (Ё, ё).
        if ((u >= 0x0410 && u <= 0x044F) || u == 0x0401 || u == 0x0451) return true;
    }
    return false;
}

}  // namespace

void showErrorMessage(const QString& message) {
    const QStringList lines = message.split(u'\n');
    QStringList kept;
    for (const QString& line : lines)
        if (hasCyrillic(line)) kept << line;
    if (!kept.isEmpty() && kept.size() < lines.size()) {
        kept << QStringLiteral("Показать подробности?");
        if (messages().ask(kept.join(u'\n'), applicationTitle(), MessageIcon::Error))
            messages().show(message, MessageIcon::Warning);
    } else {
        messages().show(message, MessageIcon::Error);
    }
}

void handleException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Abort&) {
    } catch (const std::exception& e) {
        showErrorMessage(QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorMessage(QStringLiteral("Неизвестная ошибка"));
    }
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleException(std::current_exception());
        return false;
    }
}

}  // namespace api
