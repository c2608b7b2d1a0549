#include "xlt_description.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace xlt {

namespace {

// Splits a line into words; "quoted text" is one word (\" stands for a quote inside it).
std::vector<std::string> words(const std::string& line, const std::string& where)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
                    word += '"';
                    i += 2;
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    word += line[i++];
                }
            }
            if (!closed)
                throw std::runtime_error(where + ": unclosed quote");
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
                word += line[i++];
        }
        out.push_back(word);
    }
    return out;
}

Format formatOf(const std::string& word, const std::string& where)
{
    if (word == "text") return Format::Text;
    if (word == "int") return Format::Int;
    if (word == "num") return Format::Num;
    if (word == "money") return Format::Money;
    if (word == "date") return Format::Date;
    if (word == "center") return Format::Center;
    throw std::runtime_error(where + ": unknown format \"" + word + "\"");
}

Total totalOf(const std::string& word, const std::string& where)
{
    if (word == "-") return Total::None;
    if (word == "sum") return Total::Sum;
    if (word == "label") return Total::Label;
    throw std::runtime_error(where + ": unknown total \"" + word + "\"");
}

double number(const std::string& word, const std::string& where)
{
    try {
        std::size_t used = 0;
        const double value = std::stod(word, &used);
        if (used == word.size() && value > 0)
            return value;
    } catch (const std::exception&) {
    }
    throw std::runtime_error(where + ": a positive number expected, got \"" + word + "\"");
}

void expect(const std::vector<std::string>& w, std::size_t count, const std::string& where)
{
    if (w.size() != count)
        throw std::runtime_error(where + ": \"" + w[0] + "\" takes " + std::to_string(count - 1) + " arguments");
}

}  // namespace

bool Description::hasTotals() const
{
    for (const Column& column : columns)
        if (column.total != Total::None)
            return true;
    return false;
}

Description parseDescription(const std::string& text, const std::string& source)
{
    Description d;
    std::istringstream in(text);
    std::string line;
    int number_ = 0;
    while (std::getline(in, line)) {
        ++number_;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = source + ":" + std::to_string(number_);
        const auto w = words(line, where);
        if (w.empty() || w[0][0] == '#')
            continue;
        const std::string& verb = w[0];
        if (verb == "title") {
            expect(w, 2, where);
            d.title = w[1];
        } else if (verb == "line") {
            expect(w, 2, where);
            d.lines.push_back(w[1]);
        } else if (verb == "footer") {
            expect(w, 2, where);
            d.footer.push_back(w[1]);
        } else if (verb == "label") {
            expect(w, 2, where);
            d.totalsLabel = w[1];
        } else if (verb == "orient") {
            expect(w, 2, where);
            if (w[1] != "landscape" && w[1] != "portrait")
                throw std::runtime_error(where + ": landscape or portrait expected");
            d.landscape = w[1] == "landscape";
        } else if (verb == "param") {
            expect(w, 3, where);
            d.params.push_back({w[1], w[2]});
        } else if (verb == "column") {
            expect(w, 5, where);
            d.columns.push_back({number(w[1], where), formatOf(w[2], where), totalOf(w[3], where), w[4]});
        } else if (verb == "columns") {
            expect(w, 6, where);
            const int count = static_cast<int>(number(w[1], where));
            for (int i = 1; i <= count; ++i) {
                std::string caption = w[5];
                const auto at = caption.find("%d");
                if (at != std::string::npos)
                    caption.replace(at, 2, std::to_string(i));
                d.columns.push_back({number(w[2], where), formatOf(w[3], where), totalOf(w[4], where), caption});
            }
        } else {
            throw std::runtime_error(where + ": unknown directive \"" + verb + "\"");
        }
    }
    if (d.columns.empty())
        throw std::runtime_error(source + ": no columns");
    for (const Param& param : d.params)
        if (param.name == "DataBeg" || param.name == "DataTotals")
            throw std::runtime_error(source + ": " + param.name + " is not a parameter");
    return d;
}

}  // namespace xlt
