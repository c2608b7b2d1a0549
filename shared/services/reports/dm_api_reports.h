#pragma once
// Tapi_dm's spreadsheet services: the dataset export into a template (xlTransmitDataset) and
// the checks every export button makes before it (the caller protocol).
//
//   // an export button of a list
//   api::Tapi_dm_reports::exportDataset(*z_list, "dorvpupildebt.xlt", {grid_list});
//
// The workbook is saved into the program's doc/ folder under a fresh name and opened with
// the desktop's spreadsheet application (see report_files.h).

#include <QList>
#include <QPair>
#include <QString>

#include "api_export.h"

class QWidget;
namespace db { class Query; }

namespace api {

// Named cells of the sheet "Parametrs": name -> text.
using NamedValues = QList<QPair<QString, QString>>;

class API_EXPORT Tapi_dm_reports {
public:
    Tapi_dm_reports() = delete;

    // Exports every visible record and every field of the dataset into the template: the
    // cells "Name_org" (the organisation's name) and "CURRENT_DATE" (the server's date in the
    // short format) when the template has them, `cells` before them (each ignored when the
    // template lacks it), the rows as one block at "DataBeg" of the sheet "Data" (A1 without
    // it). Returns the saved file.
    // Throws AppError: "Нет данных для передачи в Excel" (no dataset, or no records), "Не задан
    // шаблон XLT", a missing or damaged template, a doc/ folder that cannot be written.
    static QString xlTransmitDataset(db::Query* dataset, const QString& templateName,
                                     const NamedValues& cells = {});

    // Refuses with the warning and a silent abort when the desktop has no spreadsheet
    // application (IsOLEObjectInstalled("Excel.Application") is false).
    static void requireSpreadsheetApplication();

    // The caller protocol of an export button: spreadsheet check, "Список пуст..." for an
    // empty list, the 65536 message above 65500 records when limitRows, then the export with
    // the dataset's controls detached (signals of the dataset blocked, `controls` not
    // repainted) and the first record made current afterwards. Refusals are warnings followed
    // by a silent abort. Returns the saved file.
    static QString exportDataset(db::Query& dataset, const QString& templateName,
                                 const QList<QWidget*>& controls = {}, bool limitRows = true,
                                 const NamedValues& cells = {});
};

}  // namespace api
