#include "csv_text.h"

namespace sheets {
namespace {

std::string Field(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void AddRow(std::string& csv, const std::vector<std::string>& fields) {
    for (size_t k = 0; k < fields.size(); ++k)
        csv += (k > 0 ? ";" : "") + Field(fields[k]);
    csv += "\r\n";
}

} // namespace

std::string CsvText(const Sheet& sheet) {
    std::string csv = "\xEF\xBB\xBF";
    bool first = true;
    for (const Section& section : sheet.sections) {
        if (!first)
            csv += "\r\n";
        first = false;
        if (!section.title.empty())
            AddRow(csv, {section.title});
        AddRow(csv, section.header);
        for (const std::vector<Cell>& row : section.rows) {
            std::vector<std::string> fields;
            for (const Cell& cell : row)
                fields.push_back(cell.text);
            AddRow(csv, fields);
        }
    }
    return csv;
}

} // namespace sheets
