#include "registry.h"

#include <QHash>
#include <QMutex>

namespace api {

namespace {

struct Registry {
    QMutex mutex;
    QHash<QString, WidgetFactory> factories;  // by lower-cased class name
    QHash<QString, QString> spelling;         // lower-cased -> as registered
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void registerClass(const QString& className, WidgetFactory factory) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    r.factories.insert(className.toLower(), std::move(factory));
    r.spelling.insert(className.toLower(), className);
}

bool isClassRegistered(const QString& className) {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    return r.factories.contains(className.toLower());
}

QWidget* createByClassName(const QString& className, QWidget* parent) {
    WidgetFactory factory;
    {
        Registry& r = registry();
        QMutexLocker lock(&r.mutex);
        factory = r.factories.value(className.toLower());
    }
    return factory ? factory(parent) : nullptr;
}

QStringList registeredClasses() {
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    return r.spelling.values();
}

ClassRegistration::ClassRegistration(const QString& className, WidgetFactory factory) {
    registerClass(className, std::move(factory));
}

}  // namespace api
