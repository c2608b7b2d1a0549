// Exports 65,500 rows x 10 mixed columns into a report template and saves it, side by side
// with libxlsxwriter (constant-memory mode) writing the same rows into a new file.
// With a libpq connection string as the argument, also the live export (live_export.h).
// Prints "name: value unit" lines.

#include "fixtures.h"
#include "live_export.h"

#include "ooxml/workbook.h"

#include <xlsxwriter.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace std::chrono;
using ooxml::CellValue;

constexpr int kRows = 65500;
constexpr int kColumns = 10;

const char* const kSurnames[] = {"Иванов", "Петрова", "Сидоренко", "Кузнецова", "Смирнов", "Ёлкина"};
const char* const kNames[] = {"Алексей", "Мария", "Ольга", "Дмитрий", "Анастасия", "Пётр"};

// One synthetic result row, the same for both writers.
struct Row {
    std::int64_t account;
    std::string pupil;
    std::string className;
    double balance;
    ooxml::Date birthday;
    std::string paidAt;  // a timestamp column: travels as text
    double price;
    std::int64_t days;
    std::string note;
    double sum;
};

Row makeRow(int i)
{
    Row row;
    row.account = 100000 + i;
    row.pupil = std::string(kSurnames[i % 6]) + " " + kNames[(i / 6) % 6] + " " + std::to_string(i % 97);
    row.className = std::to_string(1 + i % 11) + (i % 2 ? "А" : "Б");
    row.balance = (i % 2000) * 1.25 - 1000.5;
    row.birthday = sys_days{year{2008} / 1 / 1} + days{i % 3650};
    row.paidAt = ooxml::formatDateTime(local_days{year{2023} / 2 / 1} + minutes{i % 100000});
    row.price = 87.35 + (i % 10);
    row.days = i % 23;
    row.note = i % 5 ? "Оплата питания" : "";
    row.sum = row.price * static_cast<double>(row.days);
    return row;
}

void exportToTemplate(const std::string& templatePath, const std::string& target)
{
    auto book = ooxml::Workbook::openTemplate(templatePath);
    book.setNamedCell("Name_org", std::string("МБОУ «Средняя школа № 5»"));
    book.setNamedCell("CURRENT_DATE", std::string("01.02.2023"));
    int i = 0;
    book.writeBlock(book.dataBlockOrigin(), kColumns, [&](std::vector<CellValue>& out) {
        if (i >= kRows)
            return false;
        Row row = makeRow(i++);
        out[0] = row.account;
        out[1] = std::move(row.pupil);
        out[2] = std::move(row.className);
        out[3] = row.balance;
        out[4] = row.birthday;
        out[5] = std::move(row.paidAt);
        out[6] = row.price;
        out[7] = row.days;
        if (!row.note.empty())
            out[8] = std::move(row.note);
        out[9] = row.sum;
        return true;
    });
    book.save(target);
}

void exportWithLibxlsxwriter(const std::string& target)
{
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(target.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Data");
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format_index(date, 14);
    for (int i = 0; i < kRows; ++i) {
        const Row row = makeRow(i);
        const auto r = static_cast<lxw_row_t>(4 + i);
        worksheet_write_number(sheet, r, 2, static_cast<double>(row.account), nullptr);
        worksheet_write_string(sheet, r, 3, row.pupil.c_str(), nullptr);
        worksheet_write_string(sheet, r, 4, row.className.c_str(), nullptr);
        worksheet_write_number(sheet, r, 5, row.balance, nullptr);
        worksheet_write_number(sheet, r, 6, ooxml::excelSerial(row.birthday), date);
        worksheet_write_string(sheet, r, 7, row.paidAt.c_str(), nullptr);
        worksheet_write_number(sheet, r, 8, row.price, nullptr);
        worksheet_write_number(sheet, r, 9, static_cast<double>(row.days), nullptr);
        if (!row.note.empty())
            worksheet_write_string(sheet, r, 10, row.note.c_str(), nullptr);
        worksheet_write_number(sheet, r, 11, row.sum, nullptr);
    }
    if (workbook_close(workbook) != LXW_NO_ERROR) {
        std::fprintf(stderr, "libxlsxwriter failed\n");
        std::exit(1);
    }
}

template <typename Action>
double millisecondsOf(Action&& action)
{
    const auto start = steady_clock::now();
    action();
    return duration<double, std::milli>(steady_clock::now() - start).count();
}

// Peak resident memory of `action` run in a child process, in megabytes.
template <typename Action>
double peakMegabytesOf(Action&& action)
{
    const pid_t child = fork();
    if (child == 0) {
        action();
        std::_Exit(0);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "measuring child failed\n");
        std::exit(1);
    }
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv)
{
    ooxml::test::TempDir dir;
    const std::string templatePath = dir.file("payreport_v2.xlsx");
    ooxml::test::makeTemplate(templatePath);
    const std::string ours = dir.file("ours.xlsx");
    const std::string theirs = dir.file("libxlsxwriter.xlsx");

    const double peak = peakMegabytesOf([&] { exportToTemplate(templatePath, ours); });
    const double theirPeak = peakMegabytesOf([&] { exportWithLibxlsxwriter(theirs); });

    // Alternate the two writers and keep each one's best time (less noise from the machine).
    double best = 1e300, theirBest = 1e300;
    for (int round = 0; round < 3; ++round) {
        best = std::min(best, millisecondsOf([&] { exportToTemplate(templatePath, ours); }));
        theirBest = std::min(theirBest, millisecondsOf([&] { exportWithLibxlsxwriter(theirs); }));
    }
    std::printf("xlsx_export_65500x10: %.0f ms\n", best);
    std::printf("xlsx_export_libxlsxwriter_65500x10: %.0f ms\n", theirBest);
    std::printf("xlsx_export_ratio_vs_libxlsxwriter: %.2f x (reference 1.2)\n", best / theirBest);
    std::printf("xlsx_export_peak_memory: %.1f MB\n", peak);
    std::printf("xlsx_export_libxlsxwriter_peak_memory: %.1f MB\n", theirPeak);
    std::printf("xlsx_export_file_size: %.1f MB\n", static_cast<double>(std::filesystem::file_size(ours)) / 1048576.0);
    std::fflush(stdout);
    if (argc > 1)
        runLiveExport(argv[1]);
    return 0;
}
