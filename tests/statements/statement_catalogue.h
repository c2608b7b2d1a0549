#pragma once
// The catalogue of every statement the client sends (tests/statements/*.sql): each entry
// names its routine, the login that sends it, its parameters with their types and the
// statement text, line by line.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct CatalogueStatement {
    QString file;      // "main", "services", ...
    QString name;      // routine, with "#n" for variants
    QString login;     // school | dorv | admin | dorv_technolog | any
    QString kind;      // open | exec
    QList<QPair<QString, QString>> params;  // name, type (int float text date datetime textdate bool)
    bool spliced = false;                   // "{schema}" stands for a school schema
    QString sql;
};

QList<CatalogueStatement> loadCatalogue(const QString& dir);
