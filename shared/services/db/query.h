#pragma once
// A statement and its result set: text built line by line, ":name" parameters bound by
// name with their type, open (result read) or exec (no result), fields by name, record
// navigation, a client-side filter, and local (cached) edits whose hooks send the
// statements that store them.

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "api_export.h"
#include "field.h"
#include "param.h"

struct pg_result;
typedef struct pg_result PGresult;

namespace db {

class Connection;

class API_EXPORT Query : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Hook = std::function<void(Query&)>;
    // Receives the query positioned on the candidate record.
    using RecordFilter = std::function<bool(const Query&)>;

    explicit Query(QObject* parent = nullptr);
    explicit Query(Connection* connection, QObject* parent = nullptr);
    ~Query() override;

    void setConnection(Connection* connection) { connection_ = connection; }
    Connection* connection() const { return connection_; }

    // --- statement text -------------------------------------------------------------
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QString& text);
    QString sql() const { return sqlLines_.join(u'\n'); }
    const QStringList& sqlLines() const { return sqlLines_; }

    // The parameter of that name (case-insensitive). Throws DbError when the text has none.
    Param& param(const QString& name);
    QStringList paramNames() const;

    // --- running --------------------------------------------------------------------
    void open();   // runs the statement and keeps its rows; throws DbError
    void exec();   // runs the statement, keeps nothing; throws DbError
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    long long rowsAffected() const { return rowsAffected_; }

    // --- records --------------------------------------------------------------------
    int recordCount() const { return int(visible_.size()); }
    int recNo() const { return cursor_; }  // 0-based, -1 when empty
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);

    int fieldCount() const { return int(columns_.size()); }
    QString fieldName(int column) const;
    int fieldIndex(const QString& name) const;  // -1 when absent
    unsigned fieldTypeOid(int column) const;
    bool fieldIsText(int column) const;         // character data (not a number, date or flag)
    Field field(const QString& name) const;     // current record; throws DbError when absent
    Field field(int column) const;
    Field fieldAt(int row, int column) const;   // any visible record
    QVariant valueAt(int row, int column) const;
    bool isNullAt(int row, int column) const;
    QString rawTextAt(int row, int column) const;

    // --- client-side filter -----------------------------------------------------------
    void setFilter(RecordFilter filter);
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    // The common list filter: keep a record when the upper-cased text of the column
    // begins with the upper-cased text; an empty text keeps every record.
    void setPrefixFilter(const QString& fieldName, const QString& text);

    // --- local edits ------------------------------------------------------------------
    void setCachedUpdates(bool on) { cachedUpdates_ = on; }
    bool cachedUpdates() const { return cachedUpdates_; }
    void edit();
    void insert();   // a new record before the current one
    void append();   // a new record at the end
    void post();     // runs beforePost; on success the edit becomes the record
    void cancel();
    void remove();   // runs beforeDelete, then drops the current record
    void setFieldValue(int column, const QVariant& value);
    bool isModified() const { return state_ == State::Edit || state_ == State::Insert; }

    Hook beforePost;
    Hook beforeInsert;
    Hook beforeDelete;

    // --- cell access used by Field ------------------------------------------------------
    QVariant cell(int record, int column) const;
    bool cellIsNull(int record, int column) const;
    QString cellText(int record, int column) const;

signals:
    void reset();                       // opened, closed, filtered
    void recordChanged(int row);        // values of a visible record changed
    void recordInserted(int row);
    void recordRemoved(int row);
    void currentChanged(int row);
    void stateChanged();

private:
    struct Column { QString name; unsigned oid; };
    struct Record {
        int source = -1;                          // row of the server's result, -1 for a new one
        std::shared_ptr<std::vector<QVariant>> values;  // set once the record was edited
    };

    void run(bool keepResult);
    Connection& boundConnection() const;
    void rebuildVisible();
    void setCursor(int row);
    QVariant convert(int source, int column) const;
    void requireBrowse(const char* action);
    void requireEditing() const;

    Connection* connection_ = nullptr;
    QStringList sqlLines_;
    std::vector<Param> params_;
    State state_ = State::Inactive;
    std::shared_ptr<PGresult> result_;
    std::vector<Column> columns_;
    std::vector<Record> records_;
    std::vector<int> visible_;  // indexes into records_
    int cursor_ = -1;
    bool eof_ = true, bof_ = true;
    RecordFilter filter_;
    bool filtered_ = false;
    bool cachedUpdates_ = false;
    std::vector<QVariant> buffer_;  // the record being edited or inserted
    int editRecord_ = -1;            // its index in records_
    long long rowsAffected_ = 0;
    mutable int probeRecord_ = -1;   // the record a filter is asked about
    int currentRecordIndex() const;
};

}  // namespace db
