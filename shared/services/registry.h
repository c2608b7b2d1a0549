#pragma once
// Window and dialog classes by name. Plug-ins and api register their classes when they are
// loaded; callers create them by name, case-insensitively.

#include <QString>
#include <QStringList>
#include <functional>

#include "api_export.h"

class QWidget;

namespace api {

using WidgetFactory = std::function<QWidget*(QWidget* parent)>;

API_EXPORT void registerClass(const QString& className, WidgetFactory factory);
API_EXPORT bool isClassRegistered(const QString& className);
// nullptr when no class of that name is registered.
API_EXPORT QWidget* createByClassName(const QString& className, QWidget* parent = nullptr);
API_EXPORT QStringList registeredClasses();

// Registers a class at load time: static api::ClassRegistration reg("Tfrm_x", [](QWidget* p){...});
struct API_EXPORT ClassRegistration {
    ClassRegistration(const QString& className, WidgetFactory factory);
};

template <class T>
void registerWidgetClass(const QString& className) {
    registerClass(className, [](QWidget* parent) -> QWidget* { return new T(parent); });
}

}  // namespace api

#define DORV_REGISTER_CLASS(T)                                                          \
    static const ::api::ClassRegistration dorv_registration_##T(                         \
        QStringLiteral(#T), [](QWidget* parent) -> QWidget* { return new T(parent); })
