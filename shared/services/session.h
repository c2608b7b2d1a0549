#pragma once
// What every window reaches through the main window: the one connection, the signed-in
// user and the program folder.

#include <QString>

#include "api_export.h"

namespace db { class Connection; }

namespace api {

// The connection owned by the main window. Throws db::DbError when there is none.
API_EXPORT db::Connection& connection();
API_EXPORT db::Connection* connectionOrNull();
API_EXPORT void setConnection(db::Connection* connection);  // main window, tests

// The connection's user name: a school's login or a service account.
API_EXPORT QString userName();
// "dorv", "dorv_technolog" and "admin" (compared exactly).
API_EXPORT bool isServiceAccount(const QString& user);

// The folder of the program file; relative file names resolve against it.
API_EXPORT QString programDir();
API_EXPORT void setProgramDir(const QString& dir);  // tests
// "АРМ "Тавлина"" until the sign-in sets the long caption.
API_EXPORT QString applicationTitle();
API_EXPORT void setApplicationTitle(const QString& title);

// The program's own version ("2.0.0.327").
API_EXPORT QString programVersion();

}  // namespace api
