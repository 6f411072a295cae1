#include "engine/table_export.h"

#include "engine/clipboard_text.h"
#include "sources/unicode_text.h"
#include "views/text.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::wstring CellText(const GridModel& grid, int row, int col) {
    std::wstring text = grid.TextMatrix(row, col);
    std::replace(text.begin(), text.end(), L'\0', L' ');
    return text;
}

void AppendCsvField(std::string& out, std::wstring_view text) {
    if (text.find_first_of(L",\"\r\n") == std::wstring_view::npos) {
        out += ToUtf8(text);
        return;
    }
    out += '"';
    for (const char c : ToUtf8(text)) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string Csv(const GridModel& grid) {
    std::string out(kByteOrderMark);
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Cols(); ++c) {
            if (c > 0)
                out += ',';
            AppendCsvField(out, CellText(grid, r, c));
        }
        out += "\r\n";
    }
    return out;
}

void AppendJsonString(std::string& out, std::wstring_view text) {
    out += '"';
    for (const char c : ToUtf8(text)) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
            break;
        }
    }
    out += '"';
}

void AppendJsonRow(std::string& out, const GridModel& grid, int row) {
    out += '[';
    for (int c = 0; c < grid.Cols(); ++c) {
        if (c > 0)
            out += ", ";
        AppendJsonString(out, CellText(grid, row, c));
    }
    out += ']';
}

std::string Json(const ExportedView& view) {
    std::string out = "{\"caption\": ";
    AppendJsonString(out, view.caption);
    out += ",\n \"computer\": ";
    AppendJsonString(out, view.computer);
    out += ",\n \"headers\": ";
    if (view.grid.Rows() > 0)
        AppendJsonRow(out, view.grid, 0);
    else
        out += "[]";
    out += ",\n \"rows\": [";
    for (int r = 1; r < view.grid.Rows(); ++r) {
        out += r == 1 ? "\n  " : ",\n  ";
        AppendJsonRow(out, view.grid, r);
    }
    out += "]}\n";
    return out;
}

} // namespace

ExportFormat ExportFormatOf(std::wstring_view path) {
    const std::wstring extension = ExtOf(path);
    if (extension == L"csv")
        return ExportFormat::Csv;
    if (extension == L"json")
        return ExportFormat::Json;
    return ExportFormat::Text;
}

std::string ExportText(const ExportedView& view, ExportFormat format) {
    switch (format) {
    case ExportFormat::Csv:
        return Csv(view.grid);
    case ExportFormat::Json:
        return Json(view);
    case ExportFormat::Text:
        break;
    }
    if (view.grid.Rows() == 0 || view.grid.Cols() == 0)
        return {};
    return ToUtf8(BlockText(view.grid, 0, view.grid.Rows() - 1, 0, view.grid.Cols() - 1));
}

} // namespace vantrel
