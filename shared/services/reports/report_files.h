#pragma once
// Where report workbooks come from and where they go.
//
// Templates live in the folder "XLT" of the program folder. Callers and sys_report rows name
// them as the desktop templates were named ("payreport_v2.xlt"); the name resolves to the
// OOXML workbook of the same base name: XLT/payreport_v2.xlsx, else XLT/payreport_v2.xltx,
// else the file exactly as named. Folder and file names are matched ignoring case.
//
// A built report is saved under a fresh name in the folder "doc" of the program folder (the
// main window empties it at every start, so a report behaves like an unsaved workbook) and
// handed to the desktop's default spreadsheet application.

#include <QString>

#include "api_export.h"

namespace ooxml { class Workbook; }

namespace api {

// The template's file. Throws AppError "Файл шаблона не найден: XLT/<name>" (or "Не задан
// шаблон XLT" for an empty name).
API_EXPORT QString resolveTemplate(const QString& templateName);

// A file name in doc/ that does not exist yet: <base>_<yyyyMMdd_HHmmss>[_n].xlsx. Creates the
// folder when it is missing.
API_EXPORT QString newReportPath(const QString& baseName);

// Runs the workbook's finishing step, saves it into doc/ under a fresh name derived from
// baseName and opens it with the desktop. Returns the saved file. On failure nothing is left
// in doc/ and AppError carries the reason.
API_EXPORT QString handOverWorkbook(ooxml::Workbook& book, const QString& baseName);

// The base name a report file gets from its template name ("payreport_v2.xlt" -> "payreport_v2").
API_EXPORT QString reportBaseName(const QString& templateName);

}  // namespace api
