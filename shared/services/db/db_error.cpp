#include "db_error.h"

namespace db {

namespace {
std::string compose(const QString& message, const QString& detail, const QString& hint) {
    QString text = message;
    if (!detail.isEmpty()) text += u'\n' + detail;
    if (!hint.isEmpty()) text += u'\n' + hint;
    return text.toStdString();
}
}  // namespace

DbError::DbError(const QString& message, const QString& sqlstate, const QString& detail,
                 const QString& hint)
    : std::runtime_error(compose(message, detail, hint)),
      message_(message), sqlstate_(sqlstate), detail_(detail), hint_(hint) {}

}  // namespace db
