#include "rolled_back_session.h"

#include "query.h"
#include "session.h"
#include "test_cluster.h"

namespace testsupport {

RolledBackSession::RolledBackSession() { previous_ = api::setMessageService(messages); }

RolledBackSession::~RolledBackSession() {
    if (connection_) connection_->execute(QStringLiteral("rollback"));
    api::setConnection(nullptr);
    api::setMessageService(previous_);
}

void RolledBackSession::signIn(const QString& login) {
    connection_ = connectAs(login);
    connection_->execute(QStringLiteral("begin"));
    api::setConnection(connection_.get());
}

QStringList RolledBackSession::column(const QString& sql) {
    db::Query q(connection_.get());
    q.addSql(sql);
    q.open();
    QStringList values;
    for (q.first(); !q.eof(); q.next()) values << q.field(0).asString();
    return values;
}

}  // namespace testsupport
