#include "report_files.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "app_error.h"
#include "desktop.h"
#include "ooxml/error.h"
#include "ooxml/workbook.h"
#include "session.h"

namespace api {

namespace {

// The entry of `dir` called `name`, ignoring case; empty when there is none.
QString findIgnoringCase(const QDir& dir, const QString& name) {
    if (dir.exists(name)) return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return {};
}

}  // namespace

QString reportBaseName(const QString& templateName) {
    const QString file = QFileInfo(templateName.trimmed()).fileName();
    const int dot = file.lastIndexOf(u'.');
    return dot > 0 ? file.left(dot) : file;
}

QString resolveTemplate(const QString& templateName) {
    const QString name = QFileInfo(templateName.trimmed()).fileName();
    if (name.isEmpty()) throw AppError(QStringLiteral("Не задан шаблон XLT"));
    const QString folder = findIgnoringCase(QDir(programDir()), QStringLiteral("XLT"));
    if (!folder.isEmpty()) {
        const QDir xlt(folder);
        const QString base = reportBaseName(name);
        for (const QString& candidate : {base + QStringLiteral(".xlsx"), base + QStringLiteral(".xltx"), name}) {
            const QString found = findIgnoringCase(xlt, candidate);
            if (!found.isEmpty() && QFileInfo(found).isFile()) return found;
        }
    }
    throw AppError(QStringLiteral("Файл шаблона не найден: XLT/%1").arg(name));
}

QString newReportPath(const QString& baseName) {
    QDir program(programDir());
    if (!program.exists(QStringLiteral("doc"))) program.mkpath(QStringLiteral("doc"));
    const QDir doc(program.filePath(QStringLiteral("doc")));
    const QString base = (baseName.isEmpty() ? QStringLiteral("report") : baseName) + u'_' +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    QString path = doc.filePath(base + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = doc.filePath(QStringLiteral("%1_%2.xlsx").arg(base).arg(n));
    return path;
}

QString handOverWorkbook(ooxml::Workbook& book, const QString& baseName) {
    const QString path = newReportPath(baseName);
    try {
        book.save(path.toStdString());
    } catch (const ooxml::Error& e) {
        throw AppError(QString::fromUtf8(e.what()));
    }
    if (!desktop().open(path))
        throw AppError(QStringLiteral("Не удалось открыть файл отчета %1").arg(QDir::toNativeSeparators(path)));
    return path;
}

}  // namespace api
