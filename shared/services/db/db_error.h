#pragma once
// A failure reported by the database server or by the client library.
// what() is the server's message (primary text, then detail and hint on lines of
// their own), so the application-wide handler can show it to the user as is.

#include <QString>
#include <stdexcept>

#include "api_export.h"

namespace db {

class API_EXPORT DbError : public std::runtime_error {
public:
    DbError(const QString& message, const QString& sqlstate = {}, const QString& detail = {},
            const QString& hint = {});

    QString message() const { return message_; }   // primary message only
    QString sqlstate() const { return sqlstate_; }  // five characters, empty when unknown
    QString detail() const { return detail_; }
    QString hint() const { return hint_; }
    QString fullText() const { return QString::fromUtf8(what()); }

    // Class 08: the connection is gone or could not be made.
    bool isConnectionFailure() const { return sqlstate_.startsWith(QLatin1String("08")); }

private:
    QString message_, sqlstate_, detail_, hint_;
};

}  // namespace db
