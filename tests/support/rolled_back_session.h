#pragma once
// A test's sign-in: a connection as a login registered as the main connection, everything
// it sends inside one transaction that is rolled back at the end, and scripted messages.

#include <QStringList>
#include <memory>
#include <stdexcept>

#include "connection.h"
#include "registry.h"
#include "scripted_messages.h"

namespace testsupport {

class RolledBackSession {
public:
    RolledBackSession();
    ~RolledBackSession();

    void signIn(const QString& login);
    db::Connection& connection() { return *connection_; }

    // The first column of a statement's rows, as text.
    QStringList column(const QString& sql);
    QString scalar(const QString& sql) { return column(sql).value(0); }

    std::shared_ptr<api::ScriptedMessages> messages = std::make_shared<api::ScriptedMessages>();

private:
    std::shared_ptr<api::MessageService> previous_;
    std::unique_ptr<db::Connection> connection_;
};

// A dialog created by its registered class name; throws when the class is not registered.
template <class T>
std::unique_ptr<T> createRegistered(const QString& className) {
    auto* widget = qobject_cast<T*>(api::createByClassName(className));
    if (!widget) throw std::runtime_error(className.toStdString() + " is not registered");
    return std::unique_ptr<T>(widget);
}

}  // namespace testsupport
