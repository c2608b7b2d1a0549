#include "named_sql.h"

namespace db {

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Whether the word starting at i is made of digits only.
bool isAllDigits(const QString& s, qsizetype i) {
    qsizetype j = i;
    while (j < s.size() && isNameChar(s[j])) {
        if (!s[j].isDigit()) return false;
        ++j;
    }
    return true;
}

// Index just past a dollar-quote opening tag at i ("$$" or "$tag$"), or -1.
qsizetype dollarTagEnd(const QString& s, qsizetype i) {
    qsizetype j = i + 1;
    if (j < s.size() && isNameStart(s[j])) {
        while (j < s.size() && isNameChar(s[j])) ++j;
    }
    return (j < s.size() && s[j] == u'$') ? j + 1 : -1;
}

}  // namespace

NamedSql parseNamedSql(const QString& sql) {
    NamedSql out;
    QString text;
    text.reserve(sql.size() + 8);
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype end) {
        text.append(QStringView(sql).mid(i, end - i));
        i = end;
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {  // literal or quoted identifier, doubled quote escapes
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            copyUntil(qMin(j + 1, n));
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            qsizetype j = sql.indexOf(u'\n', i);
            copyUntil(j < 0 ? n : j);
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            copyUntil(j < 0 ? n : j + 2);
        } else if (c == u'$' && (i == 0 || !isNameChar(sql[i - 1])) && dollarTagEnd(sql, i) > 0) {
            const qsizetype tagEnd = dollarTagEnd(sql, i);
            const QString tag = sql.mid(i, tagEnd - i);
            qsizetype close = sql.indexOf(tag, tagEnd);
            copyUntil(close < 0 ? n : close + tag.size());
        } else if (c == u':' && i + 1 < n && sql[i + 1] == u':') {
            copyUntil(i + 2);
        } else if (c == u':' && i + 1 < n && isNameChar(sql[i + 1]) && (i == 0 || sql[i - 1] != u':') &&
                   !isAllDigits(sql, i + 1)) {
            // ":1c_code" is a name too; ":2" (an array slice) is not
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql[j])) ++j;
            const QString name = sql.mid(i + 1, j - i - 1);
            qsizetype idx = -1;
            for (qsizetype k = 0; k < out.names.size(); ++k)
                if (out.names[k].compare(name, Qt::CaseInsensitive) == 0) { idx = k; break; }
            if (idx < 0) { out.names.append(name); idx = out.names.size() - 1; }
            text.append(u'$').append(QString::number(idx + 1));
            i = j;
        } else {
            text.append(c);
            ++i;
        }
    }
    out.text = text.toUtf8();
    return out;
}

}  // namespace db
