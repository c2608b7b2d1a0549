#pragma once
// Module plug-ins: lib/<package>.so (lib/admin/ for the administration module) register
// their window classes when loaded; windows are created by class name.

#include <QString>

#include "api_export.h"

class QWidget;

namespace api {

// The plug-in file of a package: <program>/lib/<package>.so, or lib/admin/.
API_EXPORT QString packagePath(const QString& package, bool admin = false);

// Loads a package and keeps it loaded. On failure shows "Не удалось загрузить модуль " +
// path + " " + the reason and aborts silently.
API_EXPORT void load_module(const QString& path);

// Creates the registered window class as a maximised child of the main window's MDI area
// (or a top-level window when there is none). On an unknown class shows
// "Ошибка загрузки формы модуля " + class name and aborts silently.
API_EXPORT QWidget* show_form_module(const QString& className);

// Where module windows go: the main window's MDI area (set by the main window).
API_EXPORT void setModuleHost(QWidget* mdiArea);
API_EXPORT QWidget* moduleHost();

}  // namespace api
