#include "module_launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "abort.h"
#include "messages.h"
#include "registry.h"
#include "session.h"

namespace api {

namespace {
QPointer<QWidget> g_host;
QLibrary* g_lastPackage = nullptr;  // the package loaded last (never unloaded)
}  // namespace

QString packagePath(const QString& package, bool admin) {
    return programDir() + (admin ? QStringLiteral("/lib/admin/") : QStringLiteral("/lib/")) + package +
           QStringLiteral(".so");
}

void load_module(const QString& path) {
    auto* library = new QLibrary(path);
    library->setLoadHints(QLibrary::ExportExternalSymbolsHint);
    QString reason;
    if (!QFileInfo::exists(path))
        reason = QStringLiteral("Файл не найден.");
    else if (!library->load())
        reason = library->errorString();
    QDir::setCurrent(programDir());
    if (!reason.isEmpty()) {
        delete library;
        error(QStringLiteral("Не удалось загрузить модуль ") + path + u' ' + reason);
        abortSilently();
    }
    g_lastPackage = library;
}

void setModuleHost(QWidget* mdiArea) { g_host = mdiArea; }
QWidget* moduleHost() { return g_host; }

QWidget* show_form_module(const QString& className) {
    QWidget* window = createByClassName(className, nullptr);
    if (!window) {
        error(QStringLiteral("Ошибка загрузки формы модуля ") + className);
        abortSilently();
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (auto* area = qobject_cast<QMdiArea*>(g_host.data())) {
        QMdiSubWindow* sub = area->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->showMaximized();
    } else {
        window->showMaximized();
    }
    return window;
}

}  // namespace api
