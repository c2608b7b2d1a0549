// Writes a described template as an .xlsx workbook (libxlsxwriter).

#include "xlt_description.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <cstdlib>
#include <cstring>

#include <map>
#include <stdexcept>

namespace xlt {

namespace {

constexpr lxw_color_t kHeaderFill = 0xD9E1F2;

std::string columnLetters(int column)  // 0-based
{
    std::string out;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        out.insert(out.begin(), char('A' + (n - 1) % 26));
    return out;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// "Здание: {Organization_name}" -> ="Здание: "&Parametrs!$B$4. Plain text stays text.
std::string lineFormula(const std::string& text, const std::map<std::string, int>& paramRows, bool& isFormula)
{
    std::string formula;
    std::size_t at = 0;
    isFormula = false;
    while (at < text.size()) {
        const auto open = text.find('{', at);
        const auto close = open == std::string::npos ? std::string::npos : text.find('}', open);
        if (close == std::string::npos) {
            formula += (formula.empty() ? "" : "&") + quoted(text.substr(at));
            break;
        }
        const std::string name = text.substr(open + 1, close - open - 1);
        const auto row = paramRows.find(name);
        if (row == paramRows.end())
            throw std::runtime_error("{" + name + "} is not a parameter of the template");
        if (open > at || formula.empty())
            formula += (formula.empty() ? "" : "&") + quoted(text.substr(at, open - at));
        formula += "&Parametrs!$B$" + std::to_string(row->second);
        isFormula = true;
        at = close + 1;
    }
    return isFormula ? "=" + formula : text;
}

class Writer {
public:
    explicit Writer(const std::string& path) : book_(workbook_new(path.c_str()))
    {
        if (!book_)
            throw std::runtime_error("cannot create " + path);
    }
    ~Writer()
    {
        if (book_)
            workbook_close(book_);
    }
    lxw_workbook* book() const { return book_; }
    void close(const std::string& path)
    {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        if (error != LXW_NO_ERROR)
            throw std::runtime_error("libxlsxwriter: " + std::string(lxw_strerror(error)) + " (" + path + ")");
    }
    lxw_format* format(bool bold = false, bool border = false)
    {
        lxw_format* f = workbook_add_format(book_);
        if (bold)
            format_set_bold(f);
        if (border)
            format_set_border(f, LXW_BORDER_THIN);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        return f;
    }

private:
    lxw_workbook* book_;
};

void applyFormat(lxw_format* f, Format format)
{
    switch (format) {
    case Format::Text: format_set_align(f, LXW_ALIGN_LEFT); break;
    case Format::Int: format_set_num_format(f, "0"); break;
    case Format::Num: format_set_num_format(f, "0.##"); break;
    case Format::Money: format_set_num_format(f, "#,##0.00"); break;
    case Format::Date:
        format_set_num_format(f, "dd.mm.yyyy");
        format_set_align(f, LXW_ALIGN_CENTER);
        break;
    case Format::Center: format_set_align(f, LXW_ALIGN_CENTER); break;
    }
}

// libxlsxwriter stores 0 as every formula's last result; without a stored result a spreadsheet
// program computes the formula when it opens the file (some never recalculate on load).
void dropFormulaResults(const std::string& path, int sheetCount)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), 0, &error);
    if (!archive)
        throw std::runtime_error("cannot reopen " + path);
    for (int n = 1; n <= sheetCount; ++n) {
        const std::string part = "xl/worksheets/sheet" + std::to_string(n) + ".xml";
        zip_stat_t stat;
        zip_file_t* file = zip_fopen(archive, part.c_str(), 0);
        if (!file || zip_stat(archive, part.c_str(), 0, &stat) != 0) {
            if (file)
                zip_fclose(file);
            continue;
        }
        std::string xml(stat.size, '\0');
        const zip_int64_t read = zip_fread(file, xml.data(), stat.size);
        zip_fclose(file);
        if (read != zip_int64_t(stat.size))
            throw std::runtime_error("cannot read " + part);
        for (std::size_t at; (at = xml.find("</f><v>0</v>")) != std::string::npos;)
            xml.erase(at + 4, 8);
        void* copy = std::malloc(xml.size());
        std::memcpy(copy, xml.data(), xml.size());
        zip_source_t* source = zip_source_buffer(archive, copy, xml.size(), 1);
        if (!source || zip_file_add(archive, part.c_str(), source, ZIP_FL_OVERWRITE) < 0)
            throw std::runtime_error("cannot replace " + part);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace

void writeTemplate(const Description& d, const std::string& path)
{
    Writer w(path);
    lxw_workbook* book = w.book();
    std::string docTitle = d.title;
    std::string comments = "Шаблон отчета: лист Parametrs - именованные ячейки, лист Data - блок данных с ячейки DataBeg";
    lxw_doc_properties properties = {};
    properties.title = docTitle.data();
    properties.comments = comments.data();
    workbook_set_properties(book, &properties);

    // --- Parametrs -----------------------------------------------------------------------
    lxw_worksheet* parameters = workbook_add_worksheet(book, "Parametrs");
    lxw_format* bold = w.format(true);
    lxw_format* caption = w.format();
    lxw_format* valueCell = w.format(false, true);
    format_set_align(valueCell, LXW_ALIGN_LEFT);
    worksheet_set_column(parameters, 0, 0, 38, nullptr);
    worksheet_set_column(parameters, 1, 1, 48, nullptr);
    worksheet_write_string(parameters, 0, 0, "Параметры отчета", bold);
    std::map<std::string, int> paramRows;
    for (std::size_t i = 0; i < d.params.size(); ++i) {
        const int row = 2 + int(i);  // 1-based sheet row
        paramRows[d.params[i].name] = row;
        worksheet_write_string(parameters, lxw_row_t(row - 1), 0, d.params[i].caption.c_str(), caption);
        worksheet_write_blank(parameters, lxw_row_t(row - 1), 1, valueCell);
        const std::string reference = "=Parametrs!$B$" + std::to_string(row);
        if (workbook_define_name(book, d.params[i].name.c_str(), reference.c_str()) != LXW_NO_ERROR)
            throw std::runtime_error("bad parameter name " + d.params[i].name);
    }

    // --- Data ------------------------------------------------------------------------------
    lxw_worksheet* data = workbook_add_worksheet(book, "Data");
    const int lastColumn = int(d.columns.size()) - 1;  // 0-based
    lxw_format* title = w.format(true);
    format_set_font_size(title, 14);
    format_set_align(title, LXW_ALIGN_CENTER);
    lxw_format* line = w.format();
    format_set_align(line, LXW_ALIGN_CENTER);
    lxw_format* header = w.format(true, true);
    format_set_align(header, LXW_ALIGN_CENTER);
    format_set_text_wrap(header);
    format_set_bg_color(header, kHeaderFill);

    auto mergedLine = [&](int row, const std::string& text, lxw_format* format) {
        bool isFormula = false;
        const std::string content = lineFormula(text, paramRows, isFormula);
        if (lastColumn > 0)
            worksheet_merge_range(data, lxw_row_t(row - 1), 0, lxw_row_t(row - 1), lxw_col_t(lastColumn), "", format);
        if (isFormula)
            worksheet_write_formula(data, lxw_row_t(row - 1), 0, content.c_str(), format);
        else
            worksheet_write_string(data, lxw_row_t(row - 1), 0, content.c_str(), format);
    };
    mergedLine(1, d.title, title);
    worksheet_set_row(data, 0, 22, nullptr);
    for (std::size_t i = 0; i < d.lines.size(); ++i)
        mergedLine(2 + int(i), d.lines[i], line);

    const lxw_row_t headerRow = lxw_row_t(d.headerRow() - 1);
    const lxw_row_t dataRow = lxw_row_t(d.dataRow() - 1);
    const lxw_row_t totalsRow = lxw_row_t(d.totalsRow() - 1);
    worksheet_set_row(data, headerRow, 32, nullptr);
    bool labelWritten = false;
    for (int c = 0; c <= lastColumn; ++c) {
        const Column& column = d.columns[std::size_t(c)];
        worksheet_set_column(data, lxw_col_t(c), lxw_col_t(c), column.width, nullptr);
        worksheet_write_string(data, headerRow, lxw_col_t(c), column.caption.c_str(), header);
        lxw_format* cell = w.format(false, true);
        applyFormat(cell, column.format);
        worksheet_write_blank(data, dataRow, lxw_col_t(c), cell);
        if (!d.hasTotals())
            continue;
        lxw_format* total = w.format(true, true);
        applyFormat(total, column.format);
        const std::string letters = columnLetters(c);
        const std::string first = letters + std::to_string(d.dataRow());
        if (column.total == Total::Sum) {
            const std::string sum = "=SUM(" + first + ":" + first + ")";
            worksheet_write_formula(data, totalsRow, lxw_col_t(c), sum.c_str(), total);
        } else if (column.total == Total::Label && !labelWritten) {
            worksheet_write_string(data, totalsRow, lxw_col_t(c), d.totalsLabel.c_str(), total);
            labelWritten = true;
        } else {
            worksheet_write_blank(data, totalsRow, lxw_col_t(c), total);
        }
    }
    int lastRow = d.hasTotals() ? d.totalsRow() : d.dataRow();
    if (!d.footer.empty()) {
        lastRow += 1;  // an empty row between the totals and the footer
        for (const std::string& text : d.footer) {
            bool isFormula = false;
            const std::string content = lineFormula(text, paramRows, isFormula);
            ++lastRow;
            if (isFormula)
                worksheet_write_formula(data, lxw_row_t(lastRow - 1), 0, content.c_str(), nullptr);
            else
                worksheet_write_string(data, lxw_row_t(lastRow - 1), 0, content.c_str(), nullptr);
        }
    }

    const std::string origin = "=Data!$A$" + std::to_string(d.dataRow());
    workbook_define_name(book, "DataBeg", origin.c_str());
    if (d.hasTotals()) {
        const std::string totals = "=Data!$A$" + std::to_string(d.totalsRow());
        workbook_define_name(book, "DataTotals", totals.c_str());
    }

    worksheet_set_paper(data, 9);  // A4
    if (d.landscape)
        worksheet_set_landscape(data);
    worksheet_set_margins(data, 0.4, 0.4, 0.5, 0.5);
    worksheet_fit_to_pages(data, 1, 0);
    worksheet_repeat_rows(data, headerRow, headerRow);
    worksheet_print_area(data, 0, 0, lxw_row_t(lastRow - 1), lxw_col_t(lastColumn));
    worksheet_freeze_panes(data, dataRow, 0);
    worksheet_activate(data);
    w.close(path);
    dropFormulaResults(path, 2);
}

}  // namespace xlt
