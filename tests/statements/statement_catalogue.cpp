#include "statement_catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QList<CatalogueStatement> loadCatalogue(const QString& dir) {
    QList<CatalogueStatement> all;
    for (const QFileInfo& info : QDir(dir).entryInfoList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        QFile f(info.absoluteFilePath());
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
        CatalogueStatement cur;
        QStringList body;
        for (const QString& line : lines) {
            if (line == QLatin1String(";;")) {
                cur.file = info.baseName();
                cur.sql = body.join(u'\n');
                all << cur;
                cur = CatalogueStatement{};
                body.clear();
            } else if (line.startsWith(QLatin1String("-- @"))) {
                const QString tag = line.section(u' ', 1, 1).mid(1);
                const QString value = line.section(u' ', 2).trimmed();
                if (tag == QLatin1String("name")) cur.name = value;
                else if (tag == QLatin1String("login")) cur.login = value;
                else if (tag == QLatin1String("kind")) cur.kind = value;
                else if (tag == QLatin1String("schema")) cur.spliced = value == QLatin1String("spliced");
                else if (tag == QLatin1String("params") && value != QLatin1String("none")) {
                    for (const QString& p : value.split(u',', Qt::SkipEmptyParts)) {
                        const QString t = p.trimmed();
                        cur.params << qMakePair(t.section(u':', 0, 0), t.section(u':', 1));
                    }
                }
            } else if (!cur.name.isEmpty() && !(body.isEmpty() && line.isEmpty())) {
                body << line;
            }
        }
    }
    return all;
}
