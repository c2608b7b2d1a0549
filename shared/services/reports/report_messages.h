#pragma once
// The texts every spreadsheet export and report shows, kept in one place.

#include <QString>

namespace api::report_messages {

inline const QString kNoSpreadsheet = QStringLiteral(
    "На компьютере не установлен MS Excel, для корректной работы необходимо установить как минимум MS Excel 2003 ");
inline const QString kEmptyList =
    QStringLiteral("Список пуст. Попробуйте изменить критерии поиска и повторите попытку.");
inline const QString kTooManyRows = QStringLiteral(
    "Excel не удалось построить отчет, содержащий более 65536 строк. Попробуйте изменить критерии поиска и повторите попытку.");
inline const QString kNoData = QStringLiteral("Нет данных для передачи в Excel");
inline const QString kNoTemplate = QStringLiteral("Не задан шаблон XLT");
inline const QString kNoReportText = QStringLiteral("Текст запроса для отчета не задан");
inline const QString kGetDataFirst = QStringLiteral(
    "Прежде чем построить отчет необходимо получить данные. Укажите необходимые параметры поиска, нажмите кнопку \"Найти\" и повторите попытку открыть отчет. ");

// The most rows a list may send to a sheet (the message names the sheet's 65536).
inline constexpr int kMaxExportRows = 65500;

}  // namespace api::report_messages
