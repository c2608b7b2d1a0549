#include "query.h"

#include <libpq-fe.h>

#include "connection.h"
#include "db_error.h"
#include "named_sql.h"
#include "value_text.h"

namespace db {

namespace {

DbError errorFromResult(PGconn* conn, PGresult* r) {
    auto fieldText = [r](int code) {
        return r ? QString::fromUtf8(PQresultErrorField(r, code)) : QString();
    };
    QString message = fieldText(PG_DIAG_MESSAGE_PRIMARY);
    QString state = fieldText(PG_DIAG_SQLSTATE);
    if (message.isEmpty()) {
        message = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(conn)).trimmed();
        if (message.isEmpty()) message = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    }
    if (state.isEmpty() && PQstatus(conn) != CONNECTION_OK) state = QStringLiteral("08006");
    return DbError(message, state, fieldText(PG_DIAG_MESSAGE_DETAIL), fieldText(PG_DIAG_MESSAGE_HINT));
}

}  // namespace

Query::Query(QObject* parent) : QObject(parent) {}
Query::Query(Connection* connection, QObject* parent) : QObject(parent), connection_(connection) {}
Query::~Query() = default;

// --- statement text ----------------------------------------------------------------------

void Query::clearSql() {
    sqlLines_.clear();
    params_.clear();
}

void Query::addSql(const QString& line) {
    sqlLines_.append(line);
    // Names appear as the text grows; values bound earlier are kept.
    const NamedSql parsed = parseNamedSql(line);
    for (const QString& name : parsed.names) {
        bool known = false;
        for (const Param& p : params_) known = known || p.name().compare(name, Qt::CaseInsensitive) == 0;
        if (!known) params_.emplace_back(name);
    }
}

void Query::setSql(const QString& text) {
    clearSql();
    for (const QString& line : text.split(u'\n')) addSql(line);
}

Param& Query::param(const QString& name) {
    for (Param& p : params_)
        if (p.name().compare(name, Qt::CaseInsensitive) == 0) return p;
    throw DbError(QStringLiteral("Параметр :%1 не найден в тексте запроса").arg(name));
}

QStringList Query::paramNames() const {
    QStringList names;
    for (const Param& p : params_) names << p.name();
    return names;
}

// --- running -------------------------------------------------------------------------------

Connection& Query::boundConnection() const {
    if (!connection_ || !connection_->isOpen()) {
        if (connection_) connection_->throwConnectionError();
        throw DbError(QStringLiteral("Нет соединения с базой данных"), QStringLiteral("08003"));
    }
    return *connection_;
}

void Query::run(bool keepResult) {
    Connection& c = boundConnection();
    const NamedSql parsed = parseNamedSql(sql());
    PGresult* r = nullptr;
    if (parsed.names.isEmpty()) {
        r = PQexec(c.handle(), parsed.text.constData());  // may hold several commands
    } else {
        const int n = int(parsed.names.size());
        std::vector<unsigned> types(n);
        std::vector<QByteArray> texts(n);
        std::vector<const char*> values(n);
        for (int i = 0; i < n; ++i) {
            const Param& p = param(parsed.names[i]);
            types[i] = p.oid();
            texts[i] = p.text();
            values[i] = p.isNull() ? nullptr : texts[i].constData();
        }
        r = PQexecParams(c.handle(), parsed.text.constData(), n, types.data(), values.data(),
                         nullptr, nullptr, 0);
    }
    const auto status = PQresultStatus(r);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_EMPTY_QUERY) {
        DbError error = errorFromResult(c.handle(), r);
        PQclear(r);
        throw error;
    }
    const char* affected = PQcmdTuples(r);
    rowsAffected_ = (affected && *affected) ? QByteArray(affected).toLongLong() : 0;
    if (!keepResult) {
        PQclear(r);
        return;
    }
    result_.reset(r, PQclear);
    columns_.clear();
    const int nf = PQnfields(r);
    columns_.reserve(nf);
    for (int i = 0; i < nf; ++i)
        columns_.push_back({QString::fromUtf8(PQfname(r, i)), unsigned(PQftype(r, i))});
    const int nt = PQntuples(r);
    records_.assign(size_t(nt), Record{});
    for (int i = 0; i < nt; ++i) records_[size_t(i)].source = i;
}

void Query::open() {
    close();
    run(true);
    state_ = State::Browse;
    rebuildVisible();
    emit reset();
    emit stateChanged();
}

void Query::exec() {
    close();
    run(false);
}

void Query::close() {
    const bool wasOpen = state_ != State::Inactive;
    state_ = State::Inactive;
    result_.reset();
    columns_.clear();
    records_.clear();
    visible_.clear();
    buffer_.clear();
    editRecord_ = -1;
    cursor_ = -1;
    eof_ = bof_ = true;
    if (wasOpen) {
        emit reset();
        emit stateChanged();
    }
}

// --- records ---------------------------------------------------------------------------------

void Query::rebuildVisible() {
    visible_.clear();
    visible_.reserve(records_.size());
    if (filtered_ && filter_) {
        for (int i = 0; i < int(records_.size()); ++i) {
            probeRecord_ = i;
            bool keep = false;
            try {
                keep = filter_(*this);
            } catch (...) {
                probeRecord_ = -1;
                throw;
            }
            if (keep) visible_.push_back(i);
        }
        probeRecord_ = -1;
    } else {
        for (int i = 0; i < int(records_.size()); ++i) visible_.push_back(i);
    }
    cursor_ = visible_.empty() ? -1 : 0;
    eof_ = bof_ = visible_.empty();
    if (!visible_.empty()) bof_ = true, eof_ = false;
}

void Query::setCursor(int row) {
    if (row == cursor_) return;
    if (isModified()) post();
    cursor_ = row;
    emit currentChanged(row);
}

void Query::first() {
    if (visible_.empty()) { eof_ = bof_ = true; return; }
    setCursor(0);
    bof_ = true;
    eof_ = false;
}

void Query::last() {
    if (visible_.empty()) { eof_ = bof_ = true; return; }
    setCursor(int(visible_.size()) - 1);
    eof_ = false;
    bof_ = false;
}

void Query::next() {
    bof_ = false;
    if (cursor_ + 1 >= int(visible_.size())) { eof_ = true; return; }
    setCursor(cursor_ + 1);
}

void Query::prior() {
    eof_ = false;
    if (cursor_ <= 0) { bof_ = true; return; }
    setCursor(cursor_ - 1);
}

void Query::moveTo(int row) {
    if (row < 0 || row >= int(visible_.size())) return;
    setCursor(row);
    bof_ = row == 0;
    eof_ = false;
}

QString Query::fieldName(int column) const {
    return column >= 0 && column < fieldCount() ? columns_[size_t(column)].name : QString();
}

int Query::fieldIndex(const QString& name) const {
    for (int i = 0; i < fieldCount(); ++i)
        if (columns_[size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

unsigned Query::fieldTypeOid(int column) const { return columns_.at(size_t(column)).oid; }

bool Query::fieldIsText(int column) const { return isTextOid(fieldTypeOid(column)); }

int Query::currentRecordIndex() const {
    if (probeRecord_ >= 0) return probeRecord_;
    return cursor_ >= 0 && cursor_ < int(visible_.size()) ? visible_[size_t(cursor_)] : -1;
}

Field Query::field(const QString& name) const {
    const int column = fieldIndex(name);
    if (column < 0) throw DbError(QStringLiteral("Поле %1 не найдено").arg(name));
    return Field(this, currentRecordIndex(), column);
}

Field Query::field(int column) const {
    if (column < 0 || column >= fieldCount())
        throw DbError(QStringLiteral("Поле с номером %1 не найдено").arg(column));
    return Field(this, currentRecordIndex(), column);
}

Field Query::fieldAt(int row, int column) const {
    return Field(this, row >= 0 && row < int(visible_.size()) ? visible_[size_t(row)] : -1, column);
}

QVariant Query::valueAt(int row, int column) const { return fieldAt(row, column).value(); }
bool Query::isNullAt(int row, int column) const { return fieldAt(row, column).isNull(); }

QString Query::rawTextAt(int row, int column) const {
    if (row < 0 || row >= int(visible_.size())) return {};
    return cellText(visible_[size_t(row)], column);
}

QVariant Query::convert(int source, int column) const {
    PGresult* r = result_.get();
    if (PQgetisnull(r, source, column)) return {};
    return valueFromServerText(PQgetvalue(r, source, column), PQgetlength(r, source, column),
                               columns_[size_t(column)].oid);
}

QVariant Query::cell(int record, int column) const {
    if (record < 0 || record >= int(records_.size()) || column < 0 || column >= fieldCount())
        return {};
    if (record == editRecord_) return buffer_[size_t(column)];
    const Record& rec = records_[size_t(record)];
    if (rec.values) return (*rec.values)[size_t(column)];
    return convert(rec.source, column);
}

bool Query::cellIsNull(int record, int column) const {
    if (record < 0 || record >= int(records_.size()) || column < 0 || column >= fieldCount())
        return true;
    const Record& rec = records_[size_t(record)];
    if (record != editRecord_ && !rec.values)
        return PQgetisnull(result_.get(), rec.source, column);
    return cell(record, column).isNull();
}

QString Query::cellText(int record, int column) const {
    if (record < 0 || record >= int(records_.size()) || column < 0 || column >= fieldCount())
        return {};
    const Record& rec = records_[size_t(record)];
    if (record != editRecord_ && !rec.values)
        return QString::fromUtf8(PQgetvalue(result_.get(), rec.source, column),
                                 PQgetlength(result_.get(), rec.source, column));
    return cell(record, column).toString();
}

// --- filter ------------------------------------------------------------------------------------

void Query::setFilter(RecordFilter filter) {
    filter_ = std::move(filter);
    if (filtered_ && isOpen()) {
        rebuildVisible();
        emit reset();
    }
}

void Query::setFiltered(bool on) {
    if (on == filtered_) return;
    if (isModified()) post();
    filtered_ = on;
    if (isOpen()) {
        rebuildVisible();
        emit reset();
    }
}

void Query::setPrefixFilter(const QString& fieldName, const QString& text) {
    const QString prefix = text.toUpper();
    const int column = fieldIndex(fieldName);
    if (column < 0) throw DbError(QStringLiteral("Поле %1 не найдено").arg(fieldName));
    filtered_ = false;
    setFilter([column, prefix](const Query& q) {
        return q.field(column).asString().toUpper().startsWith(prefix);
    });
    setFiltered(true);
}

// --- local edits -----------------------------------------------------------------------------

void Query::requireBrowse(const char* action) {
    if (state_ == State::Inactive)
        throw DbError(QStringLiteral("Набор данных не открыт"));
    if (!cachedUpdates_)
        throw DbError(QStringLiteral("Набор данных только для чтения"));
    if (isModified()) post();
    Q_UNUSED(action);
}

void Query::requireEditing() const {
    if (!isModified()) throw DbError(QStringLiteral("Набор данных не в режиме редактирования"));
}

void Query::edit() {
    if (state_ == State::Edit || state_ == State::Insert) return;
    requireBrowse("edit");
    if (cursor_ < 0) return insert();
    const int record = visible_[size_t(cursor_)];
    std::vector<QVariant> values(columns_.size());
    for (int c = 0; c < fieldCount(); ++c) values[size_t(c)] = cell(record, c);
    buffer_ = std::move(values);
    editRecord_ = record;
    state_ = State::Edit;
    emit stateChanged();
}

void Query::insert() {
    requireBrowse("insert");
    if (beforeInsert) beforeInsert(*this);
    const int row = cursor_ < 0 ? 0 : cursor_;
    const int recordPos = row < int(visible_.size()) ? visible_[size_t(row)] : int(records_.size());
    records_.insert(records_.begin() + recordPos, Record{});
    for (int& v : visible_)
        if (v >= recordPos) ++v;
    visible_.insert(visible_.begin() + row, recordPos);
    editRecord_ = recordPos;
    buffer_.assign(columns_.size(), QVariant());
    cursor_ = row;
    state_ = State::Insert;
    eof_ = bof_ = false;
    emit recordInserted(row);
    emit currentChanged(row);
    emit stateChanged();
}

void Query::append() {
    requireBrowse("append");
    cursor_ = int(visible_.size());
    // insert() places the new record at the cursor, here after the last one
    if (beforeInsert) beforeInsert(*this);
    const int recordPos = int(records_.size());
    records_.push_back(Record{});
    visible_.push_back(recordPos);
    editRecord_ = recordPos;
    buffer_.assign(columns_.size(), QVariant());
    state_ = State::Insert;
    eof_ = bof_ = false;
    emit recordInserted(cursor_);
    emit currentChanged(cursor_);
    emit stateChanged();
}

void Query::setFieldValue(int column, const QVariant& value) {
    if (state_ == State::Browse) edit();
    requireEditing();
    if (column < 0 || column >= fieldCount())
        throw DbError(QStringLiteral("Поле с номером %1 не найдено").arg(column));
    buffer_[size_t(column)] = value;
    emit recordChanged(cursor_);
}

void Query::post() {
    if (!isModified()) return;
    // The hook may throw: the record then stays in its editing state with what was typed.
    if (beforePost) beforePost(*this);
    Record& rec = records_[size_t(editRecord_)];
    rec.values = std::make_shared<std::vector<QVariant>>(std::move(buffer_));
    buffer_.clear();
    editRecord_ = -1;
    state_ = State::Browse;
    emit recordChanged(cursor_);
    emit stateChanged();
}

void Query::cancel() {
    if (state_ == State::Insert) {
        const int row = cursor_;
        const int recordPos = editRecord_;
        editRecord_ = -1;
        buffer_.clear();
        records_.erase(records_.begin() + recordPos);
        visible_.erase(visible_.begin() + row);
        for (int& v : visible_)
            if (v > recordPos) --v;
        state_ = State::Browse;
        emit recordRemoved(row);
        cursor_ = visible_.empty() ? -1 : qMin(row, int(visible_.size()) - 1);
        eof_ = bof_ = visible_.empty();
        emit currentChanged(cursor_);
        emit stateChanged();
    } else if (state_ == State::Edit) {
        editRecord_ = -1;
        buffer_.clear();
        state_ = State::Browse;
        emit recordChanged(cursor_);
        emit stateChanged();
    }
}

void Query::remove() {
    if (state_ == State::Insert) return cancel();
    requireBrowse("delete");
    if (cursor_ < 0) return;
    if (beforeDelete) beforeDelete(*this);
    const int row = cursor_;
    const int recordPos = visible_[size_t(row)];
    records_.erase(records_.begin() + recordPos);
    visible_.erase(visible_.begin() + row);
    for (int& v : visible_)
        if (v > recordPos) --v;
    emit recordRemoved(row);
    cursor_ = visible_.empty() ? -1 : qMin(row, int(visible_.size()) - 1);
    eof_ = bof_ = visible_.empty();
    emit currentChanged(cursor_);
}

}  // namespace db
