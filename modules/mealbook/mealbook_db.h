#pragma once
// The window's statements: built line by line on the main connection; running one logs a
// failure with the module's tag and raises it again with the same text.

#include <QStringList>
#include <memory>

namespace db { class Query; }

namespace mealbook {

extern const QString kLogModule;  // "mealbook"

std::unique_ptr<db::Query> statement(const QStringList& lines);
void openLogged(db::Query& query);
void execLogged(db::Query& query);

}  // namespace mealbook
