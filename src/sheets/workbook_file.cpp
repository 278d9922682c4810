#include "workbook_file.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace sheets {
namespace {

// Characters, not bytes: the width a column needs for the text.
double Width(const std::string& text) {
    const auto continuation = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    });
    return static_cast<double>(text.size()) - static_cast<double>(continuation);
}

// Keeps the first error of a run of calls.
void Keep(lxw_error& first, lxw_error error) {
    if (first == LXW_NO_ERROR)
        first = error;
}

std::string Reason(lxw_error error) {
    switch (error) {
    case LXW_ERROR_CREATING_XLSX_FILE:
        return "не удалось создать файл";
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return "не удалось создать или прочитать временный файл";
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return "ошибка записи, возможно, на диске нет места";
    default:
        return std::string("ошибка библиотеки: ") + lxw_strerror(error);
    }
}

// Formats by the decimals a number is shown with, made once per workbook.
class Formats {
public:
    explicit Formats(lxw_workbook* book) : book_(book) {
        bold_ = workbook_add_format(book);
        format_set_bold(bold_);
    }
    lxw_format* Bold() const { return bold_; }
    lxw_format* Number(int decimals) {
        if (decimals < 0)
            return nullptr; // General: as many digits as the value has
        lxw_format*& format = numbers_[decimals];
        if (format == nullptr) {
            format = workbook_add_format(book_);
            const std::string code =
                decimals == 0 ? "0" : "0." + std::string(static_cast<size_t>(decimals), '0');
            format_set_num_format(format, code.c_str());
        }
        return format;
    }

private:
    lxw_workbook* book_;
    lxw_format* bold_;
    std::map<int, lxw_format*> numbers_;
};

lxw_error WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const Cell& cell,
                    Formats& formats) {
    // A spreadsheet has no number for NaN or infinity: those go as the text.
    if (cell.kind == Cell::Kind::Number && std::isfinite(cell.value))
        return worksheet_write_number(sheet, row, column, cell.value,
                                      formats.Number(cell.decimals));
    if (cell.kind == Cell::Kind::Empty)
        return LXW_NO_ERROR;
    return worksheet_write_string(sheet, row, column, cell.text.c_str(), nullptr);
}

lxw_error WriteSheet(lxw_worksheet* sheet, const Sheet& table, Formats& formats) {
    std::vector<double> widths;
    const auto widen = [&](size_t column, const std::string& text) {
        if (widths.size() <= column)
            widths.resize(column + 1, 0);
        widths[column] = std::max(widths[column], Width(text));
    };
    lxw_error error = LXW_NO_ERROR;
    lxw_row_t row = 0;
    for (const Section& section : table.sections) {
        if (row > 0)
            ++row; // a blank row between sections
        if (!section.title.empty())
            Keep(error,
                 worksheet_write_string(sheet, row++, 0, section.title.c_str(), formats.Bold()));
        for (size_t c = 0; c < section.header.size(); ++c) {
            Keep(error, worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c),
                                               section.header[c].c_str(), formats.Bold()));
            widen(c, section.header[c]);
        }
        if (row == 0)
            worksheet_freeze_panes(sheet, 1, 0);
        ++row;
        for (const std::vector<Cell>& cells : section.rows) {
            for (size_t c = 0; c < cells.size(); ++c) {
                Keep(error, WriteCell(sheet, row, static_cast<lxw_col_t>(c), cells[c], formats));
                widen(c, cells[c].text);
            }
            ++row;
        }
    }
    for (size_t c = 0; c < widths.size(); ++c)
        Keep(error, worksheet_set_column(sheet, static_cast<lxw_col_t>(c),
                                         static_cast<lxw_col_t>(c), widths[c] + 2, nullptr));
    return error;
}

} // namespace

std::string WriteWorkbook(const std::string& path, const std::vector<Sheet>& sheets) {
    lxw_workbook* book = workbook_new(path.c_str());
    if (book == nullptr)
        return "не хватило памяти";
    Formats formats(book);
    lxw_error error = LXW_NO_ERROR;
    for (const Sheet& table : sheets) {
        lxw_worksheet* sheet = workbook_add_worksheet(book, table.name.c_str());
        if (sheet == nullptr) {
            lxw_workbook_free(book);
            return "недопустимое имя листа «" + table.name + "»";
        }
        Keep(error, WriteSheet(sheet, table, formats));
    }
    // Closing writes the file and frees the workbook, whatever went before.
    Keep(error, workbook_close(book));
    if (error != LXW_NO_ERROR)
        return Reason(error);
    return {};
}

} // namespace sheets
