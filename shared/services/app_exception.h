#pragma once
// The application-wide error handler: every error that reaches the event loop ends here.

#include <QApplication>
#include <QString>
#include <exception>

#include "api_export.h"

namespace api {

// Shows an error message the way users see it: only the lines with Cyrillic letters plus
// "Показать подробности?" when some lines were dropped; Yes shows the whole text.
API_EXPORT void showErrorMessage(const QString& message);

// Handles an exception that reached the event loop (the silent abort is swallowed).
API_EXPORT void handleException(std::exception_ptr error);

// QApplication that routes exceptions thrown in slots and event handlers to handleException.
class API_EXPORT Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace api
