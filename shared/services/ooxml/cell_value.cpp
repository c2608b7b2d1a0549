#include "ooxml/cell_value.h"

#include <cmath>
#include <cstdio>

namespace ooxml {

namespace {
// Serial 0 is 1899-12-30 for every date from 1900-03-01 on (serial 60 is the phantom 1900-02-29).
constexpr std::chrono::sys_days kEpoch = std::chrono::sys_days{std::chrono::year{1899} / 12 / 30};
}

double excelSerial(Date date)
{
    const auto days = (std::chrono::sys_days{date} - kEpoch).count();
    return static_cast<double>(days < 61 ? days - 1 : days);
}

Date dateFromSerial(double serial)
{
    if (!(serial >= 1) || serial > 2958465)  // 9999-12-31
        return std::chrono::year{1899} / 12 / 31;
    auto days = static_cast<long>(std::floor(serial));
    if (days < 61)
        ++days;
    return Date{kEpoch + std::chrono::days{days}};
}

std::string formatDate(Date date)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return text;
}

std::string formatDateTime(DateTime dateTime)
{
    const auto day = std::chrono::floor<std::chrono::days>(dateTime);
    const std::chrono::hh_mm_ss time{dateTime - day};
    char text[16];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
    return formatDate(Date{std::chrono::sys_days{day.time_since_epoch()}}) + text;
}

}  // namespace ooxml
