#pragma once
// Values written into workbook cells.
//
// Following the report protocol, callers pass strings and date-times as text and numbers and
// dates as native values; the engine writes
//   std::monostate      -> nothing (the cell keeps only its style)
//   std::string (UTF-8) -> an inline string
//   double, int64_t     -> a number
//   bool                -> a boolean
//   Date                -> a serial day number with a date number format
//   DateTime            -> text "dd.mm.yyyy hh:mm:ss" (a convenience; callers may pass text)

#include <chrono>
#include <cstdint>
#include <string>
#include <variant>

namespace ooxml {

using Date = std::chrono::year_month_day;
using DateTime = std::chrono::local_seconds;

using CellValue = std::variant<std::monostate, std::string, double, std::int64_t, bool, Date, DateTime>;

// Spreadsheet serial day (1900 date system): 1 = 1900-01-01, 45000 = 2023-03-15.
double excelSerial(Date date);
// The date of a serial day number (fraction ignored); serials below 1 give 1899-12-31.
Date dateFromSerial(double serial);

// "01.02.2023"
std::string formatDate(Date date);
// "01.02.2023 14:30:00"
std::string formatDateTime(DateTime dateTime);

}  // namespace ooxml
