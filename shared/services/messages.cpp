#include "messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "session.h"

namespace api {

namespace {

// Texts of the system use "\r" for a line break.
QString displayed(const QString& text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    return s;
}

class WidgetMessages : public MessageService {
public:
    void show(const QString& text, MessageIcon icon) override {
        QMessageBox box(toIcon(icon), applicationTitle(), displayed(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }

    bool ask(const QString& text, const QString& caption, MessageIcon icon) override {
        QMessageBox box(toIcon(icon), caption, displayed(text), QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    QString openFileName(const QString& caption, const QString& dir, const QString& filter) override {
        const QString name = QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, dir, filter);
        QDir::setCurrent(programDir());  // leaving a file dialog sets the folder back
        return name;
    }

    QString saveFileName(const QString& caption, const QString& dir, const QString& filter) override {
        const QString name = QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, dir, filter);
        QDir::setCurrent(programDir());
        return name;
    }

private:
    static QMessageBox::Icon toIcon(MessageIcon icon) {
        switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Question: return QMessageBox::Question;
        }
        return QMessageBox::NoIcon;
    }
};

std::shared_ptr<MessageService>& current() {
    static std::shared_ptr<MessageService> service = std::make_shared<WidgetMessages>();
    return service;
}

}  // namespace

MessageService& messages() { return *current(); }

std::shared_ptr<MessageService> setMessageService(std::shared_ptr<MessageService> service) {
    auto previous = current();
    current() = service ? std::move(service) : std::make_shared<WidgetMessages>();
    return previous;
}

void info(const QString& text) { messages().show(text, MessageIcon::Information); }
void warning(const QString& text) { messages().show(text, MessageIcon::Warning); }
void error(const QString& text) { messages().show(text, MessageIcon::Error); }
bool ask(const QString& text) {
    return messages().ask(text, QStringLiteral("Вопрос"), MessageIcon::Question);
}

}  // namespace api
