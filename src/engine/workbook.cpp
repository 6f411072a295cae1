#include "engine/workbook.h"

#include "sources/unicode_text.h"
#include "views/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <type_traits>

namespace vantrel {
namespace {

constexpr std::wstring_view kWorkbookType =
    L"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr std::wstring_view kWorksheetType =
    L"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr std::wstring_view kStylesType =
    L"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
constexpr std::wstring_view kOfficeDocumentRelationship =
    L"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr std::wstring_view kWorksheetRelationship =
    L"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr std::wstring_view kStylesRelationship =
    L"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr std::string_view kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// The one cell format every cell uses; without a style sheet some readers complain and apply their own.
constexpr std::string_view kStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

// Excel's limits: cells beyond them make it refuse the file, so they are left out.
constexpr size_t kMaxRows = 1048576;
constexpr size_t kMaxColumns = 16384;
constexpr size_t kMaxCellUtf16 = 32767;
constexpr size_t kSizedColumns = 26; // A to Z get a width
constexpr size_t kMaxWidthChars = 255;
constexpr size_t kMaxSheetNameUtf16 = 31;
constexpr int kExcelDigits = 15; // Excel keeps 15 significant digits of a number

bool AllowedInXml(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

size_t Utf16Units(char32_t c) {
    return c >= 0x10000 ? 2 : 1;
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// Excel reads "_xHHHH_" in a text as the character HHHH; a text that holds such a sequence itself keeps it
// by writing its underscore as "_x005F_".
bool StartsCharacterEscape(std::wstring_view text, size_t i) {
    return i + 7 <= text.size() && text[i] == L'_' && text[i + 1] == L'x' && IsHexDigit(text[i + 2]) &&
           IsHexDigit(text[i + 3]) && IsHexDigit(text[i + 4]) && IsHexDigit(text[i + 5]) &&
           text[i + 6] == L'_';
}

// The text as XML character data in UTF-8, at most maxUtf16 UTF-16 units of it. Characters XML 1.0 cannot
// hold (control characters, the NULs between the strings of a multi-string value, lone surrogates) become
// blanks; a carriage return is written as a reference, since a reader would turn a literal one into a line
// feed.
void AppendXmlText(std::string& out, std::wstring_view text, size_t maxUtf16 = kMaxCellUtf16) {
    size_t units = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t at = i;
        char32_t c = NextCodePoint(text, i);
        if (c == kNotACharacter || !AllowedInXml(c))
            c = U' ';
        units += Utf16Units(c);
        if (units > maxUtf16)
            break;
        switch (c) {
        case U'&':
            out += "&amp;";
            break;
        case U'<':
            out += "&lt;";
            break;
        case U'>':
            out += "&gt;";
            break;
        case U'"':
            out += "&quot;";
            break;
        case U'\'':
            out += "&apos;";
            break;
        case U'\r':
            out += "&#13;";
            break;
        case U'_':
            out += StartsCharacterEscape(text, at) ? "_x005F_" : "_";
            break;
        default:
            AppendUtf8(out, c);
            break;
        }
    }
}

size_t CodePointCount(std::wstring_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count)
        NextCodePoint(text, i);
    return count;
}

bool IsXmlBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

void AppendNumber(std::string& out, size_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

void AppendColumnLetters(std::string& out, size_t column) { // column 0 is A
    char letters[4];
    size_t count = 0;
    for (size_t n = column + 1; n > 0; n = (n - 1) / 26)
        letters[count++] = static_cast<char>('A' + (n - 1) % 26);
    while (count > 0)
        out += letters[--count];
}

void AppendWidened(std::string& out, std::wstring_view text) {
    for (const wchar_t c : text)
        out += static_cast<char>(c); // only ASCII texts get here
}

void AppendCell(std::string& out, std::wstring_view text, size_t row, size_t column) {
    out += "<c r=\"";
    AppendColumnLetters(out, column);
    AppendNumber(out, row + 1);
    if (StoredAsNumber(text)) {
        out += "\"><v>";
        AppendWidened(out, text);
        out += "</v></c>";
        return;
    }
    out += "\" t=\"inlineStr\"><is><t";
    if (IsXmlBlank(text.front()) || IsXmlBlank(text.back()))
        out += " xml:space=\"preserve\"";
    out += '>';
    AppendXmlText(out, text);
    out += "</t></is></c>";
}

std::string WorksheetXml(const WorkbookSheet& sheet) {
    const size_t rowCount = std::min(sheet.rows.size(), kMaxRows);
    size_t columnCount = 0;
    size_t estimate = 512;
    std::vector<size_t> longest;
    for (size_t r = 0; r < rowCount; ++r) {
        const auto& row = sheet.rows[r];
        columnCount = std::max(columnCount, std::min(row.size(), kMaxColumns));
        if (longest.size() < std::min(row.size(), kSizedColumns))
            longest.resize(std::min(row.size(), kSizedColumns));
        for (size_t c = 0; c < row.size(); ++c) {
            estimate += row[c].size() + 32;
            if (c < kSizedColumns && longest[c] < kMaxWidthChars)
                longest[c] = std::max(longest[c], CodePointCount(row[c]));
        }
    }

    std::string out;
    out.reserve(estimate + estimate / 8);
    out += kXmlDeclaration;
    out += "<worksheet xmlns=\"";
    out += kMainNamespace;
    out += "\">";
    if (!longest.empty()) {
        out += "<cols>";
        for (size_t c = 0; c < longest.size(); ++c) {
            out += "<col min=\"";
            AppendNumber(out, c + 1);
            out += "\" max=\"";
            AppendNumber(out, c + 1);
            out += "\" width=\"";
            AppendNumber(out, std::min(longest[c] + 2, kMaxWidthChars));
            out += "\" customWidth=\"1\"/>";
        }
        out += "</cols>";
    }
    out += "<sheetData>";
    for (size_t r = 0; r < rowCount; ++r) {
        const auto& row = sheet.rows[r];
        const size_t cells = std::min(row.size(), kMaxColumns);
        bool open = false;
        for (size_t c = 0; c < cells; ++c) {
            if (row[c].empty())
                continue;
            if (!open) {
                out += "<row r=\"";
                AppendNumber(out, r + 1);
                out += "\">";
                open = true;
            }
            AppendCell(out, row[c], r, c);
        }
        if (open)
            out += "</row>";
    }
    out += "</sheetData></worksheet>";
    return out;
}

std::string WorkbookXml(const std::vector<std::wstring>& names) {
    std::string out(kXmlDeclaration);
    out += "<workbook xmlns=\"";
    out += kMainNamespace;
    out += "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>";
    for (size_t i = 0; i < names.size(); ++i) {
        out += "<sheet name=\"";
        AppendXmlText(out, names[i]);
        out += "\" sheetId=\"";
        AppendNumber(out, i + 1);
        out += "\" r:id=\"rId";
        AppendNumber(out, i + 1);
        out += "\"/>";
    }
    out += "</sheets></workbook>";
    return out;
}

// The name within Excel's rules, before it is made unique.
std::wstring CleanSheetName(std::wstring_view name) {
    constexpr std::wstring_view kForbidden = L"[]:*?/\\";
    std::wstring clean;
    size_t units = 0;
    for (size_t i = 0; i < name.size();) {
        char32_t c = NextCodePoint(name, i);
        if (c == kNotACharacter || c < 0x20 || !AllowedInXml(c) ||
            (c < 0x80 && kForbidden.find(static_cast<wchar_t>(c)) != std::wstring_view::npos))
            c = U'_';
        units += Utf16Units(c);
        if (units > kMaxSheetNameUtf16)
            break;
        AppendCodePoint(clean, c);
    }
    const size_t first = clean.find_first_not_of(L'\'');
    if (first == std::wstring::npos)
        return {};
    return clean.substr(first, clean.find_last_not_of(L'\'') - first + 1);
}

size_t Utf16Length(std::wstring_view text) {
    size_t units = 0;
    for (size_t i = 0; i < text.size();)
        units += Utf16Units(NextCodePoint(text, i));
    return units;
}

// The name cut so that the suffix fits within 31 UTF-16 units, without splitting a surrogate pair.
std::wstring WithSuffix(std::wstring_view name, std::wstring_view suffix) {
    const size_t room = kMaxSheetNameUtf16 - Utf16Length(suffix);
    std::wstring cut;
    size_t units = 0;
    for (size_t i = 0; i < name.size();) {
        const char32_t c = NextCodePoint(name, i);
        units += Utf16Units(c);
        if (units > room)
            break;
        AppendCodePoint(cut, c);
    }
    return cut + std::wstring(suffix);
}

std::wstring SheetPartName(size_t index) {
    return L"/xl/worksheets/sheet" + std::to_wstring(index + 1) + L".xml";
}

} // namespace

bool StoredAsNumber(std::wstring_view text) {
    char narrow[32];
    if (text.empty() || text.size() > sizeof narrow)
        return false;
    int significant = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (!((c >= L'0' && c <= L'9') || c == L'-' || c == L'.'))
            return false;
        narrow[i] = static_cast<char>(c);
        if (c >= L'1' && c <= L'9')
            ++significant;
        else if (c == L'0' && significant > 0)
            ++significant;
    }
    if (significant > kExcelDigits)
        return false;
    const char* const end = narrow + text.size();
    double value = 0;
    const auto read = std::from_chars(narrow, end, value, std::chars_format::fixed);
    if (read.ec != std::errc{} || read.ptr != end || !std::isfinite(value))
        return false;
    if (value == 0 && std::signbit(value))
        return false; // "-0" would come back as 0
    char shortest[64];
    const auto written = std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::fixed);
    return written.ec == std::errc{} &&
           std::string_view(shortest, written.ptr) == std::string_view(narrow, text.size());
}

std::vector<std::wstring> WorkbookSheetNames(const std::vector<WorkbookSheet>& sheets) {
    std::vector<std::wstring> names;
    std::set<std::wstring> taken{L"history"}; // Excel keeps this name for itself
    for (size_t i = 0; i < sheets.size(); ++i) {
        std::wstring base = CleanSheetName(sheets[i].name);
        if (base.empty())
            base = L"Sheet" + std::to_wstring(i + 1);
        std::wstring name = base;
        for (int copy = 2; taken.contains(LowerCase(name)); ++copy)
            name = WithSuffix(base, L" (" + std::to_wstring(copy) + L")");
        taken.insert(LowerCase(name));
        names.push_back(std::move(name));
    }
    return names;
}

WorkbookPackage BuildWorkbookPackage(const std::vector<WorkbookSheet>& sheets) {
    const std::vector<WorkbookSheet> oneEmptySheet{WorkbookSheet{}};
    const std::vector<WorkbookSheet>& all = sheets.empty() ? oneEmptySheet : sheets;
    const std::vector<std::wstring> names = WorkbookSheetNames(all);

    WorkbookPackage package;
    package.parts.push_back({L"/xl/workbook.xml", std::wstring(kWorkbookType), WorkbookXml(names)});
    package.parts.push_back(
        {L"/xl/styles.xml", std::wstring(kStylesType), std::string(kXmlDeclaration) + std::string(kStyles)});
    package.relationships.push_back(
        {L"", L"rId1", std::wstring(kOfficeDocumentRelationship), L"xl/workbook.xml"});
    for (size_t i = 0; i < all.size(); ++i) {
        package.parts.push_back({SheetPartName(i), std::wstring(kWorksheetType), WorksheetXml(all[i])});
        package.relationships.push_back({L"/xl/workbook.xml", L"rId" + std::to_wstring(i + 1),
                                         std::wstring(kWorksheetRelationship),
                                         L"worksheets/sheet" + std::to_wstring(i + 1) + L".xml"});
    }
    package.relationships.push_back({L"/xl/workbook.xml", L"rId" + std::to_wstring(all.size() + 1),
                                     std::wstring(kStylesRelationship), L"styles.xml"});
    return package;
}

} // namespace vantrel
