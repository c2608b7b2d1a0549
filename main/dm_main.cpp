#include "dm_main.h"

#include <QLibrary>

#include "abort.h"
#include "messages.h"

Tdm::Tdm(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("dm")); }

void Tdm::load_module_once(const QString& path) {
    QLibrary package(path);
    // the handle is not kept: the library stays loaded until the process ends
    package.setLoadHints(QLibrary::PreventUnloadHint);
    if (!package.load()) {
        api::error(QStringLiteral("Не удалось загрузить модуль ") + path);
        api::abortSilently();
    }
}
