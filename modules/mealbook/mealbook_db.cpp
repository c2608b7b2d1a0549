#include "mealbook_db.h"

#include "logged_action.h"
#include "query.h"
#include "session.h"

namespace mealbook {

const QString kLogModule = QStringLiteral("mealbook");

std::unique_ptr<db::Query> statement(const QStringList& lines) {
    auto query = std::make_unique<db::Query>(&api::connection());
    for (const QString& line : lines) query->addSql(line);
    return query;
}

void openLogged(db::Query& query) {
    api::logged(kLogModule, [&] { query.open(); });
}

void execLogged(db::Query& query) {
    api::logged(kLogModule, [&] { query.exec(); });
}

}  // namespace mealbook
