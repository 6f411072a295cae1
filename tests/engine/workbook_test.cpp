// The workbook's parts: how cells are typed and written, column widths, sheet names, and a package whose
// relationships and XML hold together.
#include "engine/workbook.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <map>

namespace vantrel {
namespace {

std::string WorksheetOf(const std::vector<std::vector<std::wstring>>& rows) {
    return BuildWorkbookPackage({WorkbookSheet{L"Vantrel1", rows}}).parts.at(2).bytes;
}

// The character data of the only cell of a one-cell sheet.
std::string CellText(const std::wstring& text) {
    const std::string xml = WorksheetOf({{text}});
    const size_t open = xml.find('>', xml.find("<t"));
    const size_t close = xml.find("</t>");
    if (open == std::string::npos || close == std::string::npos)
        return "(no inline string in " + xml + ")";
    return xml.substr(open + 1, close - open - 1);
}

std::wstring Units(std::initializer_list<unsigned> units) {
    std::wstring text;
    for (const unsigned unit : units)
        text += static_cast<wchar_t>(unit);
    return text;
}

TEST(StoredAsNumber, OnlyTextsThatAreTheirNumbersShortestForm) {
    const struct {
        const wchar_t* text;
        bool number;
    } cases[] = {
        {L"12", true},
        {L"-3", true},
        {L"2.5", true},
        {L"0", true},
        {L"0.1", true},
        {L"4294967295", true},
        {L"123456789012345", true},
        {L"2.4.1", false},
        {L"0012", false},
        {L"1e5", false},
        {L"1E5", false},
        {L"+3", false},
        {L" 7", false},
        {L"7 ", false},
        {L"1.50", false},
        {L"", false},
        {L"0x10", false},
        {L"inf", false},
        {L"nan", false},
        {L"-0", false},
        {L".5", false},
        {L"5.", false},
        {L"-", false},
        {L"1,5", false},
        {L"00", false},
        {L"\xFF11\xFF12", false},         // full-width digits
        {L"1234567890123456", false},     // more digits than Excel keeps
        {L"0.30000000000000004", false},  // 0.1 + 0.2: exact as a double, not in Excel
        {L"12345678901234567890", false}, // not even a double
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredAsNumber(c.text), c.number)
            << "\"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
}

TEST(WorkbookCells, NumbersAsValuesTextsAsInlineStringsEmptyCellsLeftOut) {
    const std::string xml = WorksheetOf({{L"12", L"2.4.1", L"", L"x"}, {}, {L"", L"", L"-3"}, {L"", L""}});
    EXPECT_NE(xml.find("<sheetData><row r=\"1\"><c r=\"A1\"><v>12</v></c>"
                       "<c r=\"B1\" t=\"inlineStr\"><is><t>2.4.1</t></is></c>"
                       "<c r=\"D1\" t=\"inlineStr\"><is><t>x</t></is></c></row>"
                       "<row r=\"3\"><c r=\"C3\"><v>-3</v></c></row></sheetData>"),
              std::string::npos)
        << xml;
}

TEST(WorkbookCells, ReferencesBeyondZ) {
    std::vector<std::wstring> row(703, L"v");
    const std::string xml = WorksheetOf({row});
    for (const char* ref : {"\"Z1\"", "\"AA1\"", "\"AZ1\"", "\"BA1\"", "\"ZZ1\"", "\"AAA1\""})
        EXPECT_NE(xml.find(ref), std::string::npos) << ref;
}

TEST(WorkbookCells, TextsAreEscapedAndKeptValidXml) {
    const struct {
        std::wstring text;
        std::string xml;
    } cases[] = {
        {L"a&b<c>\"d'e", "a&amp;b&lt;c&gt;&quot;d&apos;e"},
        {std::wstring(L"one\0two\0", 8), "one two "}, // a multi-string value's separators
        {L"\x01x\x1F\x7F", " x \x7F"},
        {L"tab\there\nline", "tab\there\nline"},
        {L"cr\r\nlf", "cr&#13;\nlf"},
        {Units({0xD800, 'a'}), " a"},    // lone high surrogate
        {Units({'a', 0xDC00}), "a "},    // lone low surrogate
        {Units({0xFFFE, 0xFFFF}), "  "}, // not characters
        {Units({0xFFFD, 0xE000}), "\xEF\xBF\xBD\xEE\x80\x80"},
        {L"\x00E9\x20AC", "\xC3\xA9\xE2\x82\xAC"},
        {L"\U0001F600!", "\xF0\x9F\x98\x80!"},
        {Units({0xD83D, 0xDE00}), "\xF0\x9F\x98\x80"}, // the same as a surrogate pair
        {L"_x0041_ _x41_ _xZZZZ_", "_x005F_x0041_ _x41_ _xZZZZ_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellText(c.text), c.xml) << testing::PrintToString(c.xml);
}

TEST(WorkbookCells, BlanksAtEitherEndArePreserved) {
    EXPECT_NE(WorksheetOf({{L" lead"}}).find("<t xml:space=\"preserve\"> lead</t>"), std::string::npos);
    EXPECT_NE(WorksheetOf({{L"trail\n"}}).find("<t xml:space=\"preserve\">trail\n</t>"), std::string::npos);
    EXPECT_NE(WorksheetOf({{L"in side"}}).find("<t>in side</t>"), std::string::npos);
}

TEST(WorkbookCells, TextsLongerThanExcelTakesAreCut) {
    std::wstring text(32766, L'a');
    text += L"\U0001F600"; // would end at 32,768 UTF-16 units: left out whole
    EXPECT_EQ(CellText(text), std::string(32766, 'a'));
}

std::map<std::string, std::string> WidthsOf(const std::string& xml) {
    std::map<std::string, std::string> widths;
    for (size_t at = xml.find("<col "); at != std::string::npos; at = xml.find("<col ", at + 1)) {
        const size_t min = xml.find("min=\"", at) + 5;
        const size_t width = xml.find("width=\"", at) + 7;
        widths[xml.substr(min, xml.find('"', min) - min)] = xml.substr(width, xml.find('"', width) - width);
    }
    return widths;
}

TEST(WorkbookColumns, AToZSizedToTheirLongestTextBeyondZNone) {
    std::vector<std::wstring> header(28, L"h");
    header[0] = L"Name";
    header[1] = std::wstring(300, L'w');
    header[25] = L"Z column";
    header[27] = L"far beyond Z";
    const std::vector<std::vector<std::wstring>> rows{
        header, {L"Longer name", L"", L"\U0001F600\U0001F600\U0001F600"}, {}};
    const auto widths = WidthsOf(WorksheetOf(rows));
    ASSERT_EQ(widths.size(), 26u);
    EXPECT_EQ(widths.at("1"), "13");  // "Longer name" + 2
    EXPECT_EQ(widths.at("2"), "255"); // Excel's widest
    EXPECT_EQ(widths.at("3"), "5");   // three characters outside the BMP count as three
    EXPECT_EQ(widths.at("4"), "3");
    EXPECT_EQ(widths.at("26"), "10");
    EXPECT_NE(WorksheetOf(rows).find("customWidth=\"1\""), std::string::npos);
    EXPECT_EQ(WorksheetOf({}).find("<cols>"), std::string::npos); // an empty <cols> is invalid
}

TEST(WorkbookSheetNames, FollowExcelsRules) {
    const std::vector<WorkbookSheet> sheets{
        {L"Vantrel1"},
        {L"a[b]c:d*e?f/g\\h"},
        {std::wstring(40, L'x')},
        {L"'quoted'"},
        {L""},
        {L"vantrel1"},
        {L"History"},
        {std::wstring(40, L'x')},
        {L"tab\there"},
        {std::wstring(30, L'y') + L"\U0001F600"},
    };
    const std::vector<std::wstring> expected{
        L"Vantrel1", L"a_b_c_d_e_f_g_h",     std::wstring(31, L'x'), L"quoted",
        L"Sheet5",   L"vantrel1 (2)",        L"History (2)",         std::wstring(27, L'x') + L" (2)",
        L"tab_here", std::wstring(30, L'y'), // the pair would end past 31 UTF-16 units
    };
    EXPECT_EQ(WorkbookSheetNames(sheets), expected);
}

// Every start tag has its end tag, in order: enough to catch an element left open or closed twice.
::testing::AssertionResult Balanced(const std::string& xml) {
    std::vector<std::string> open;
    for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        const size_t end = xml.find('>', at);
        if (end == std::string::npos)
            return ::testing::AssertionFailure() << "unterminated tag at " << at;
        if (xml[at + 1] == '?')
            continue;
        const bool closing = xml[at + 1] == '/';
        const bool empty = xml[end - 1] == '/';
        const size_t nameStart = at + (closing ? 2 : 1);
        const std::string name = xml.substr(nameStart, xml.find_first_of(" />", nameStart) - nameStart);
        if (closing) {
            if (open.empty() || open.back() != name)
                return ::testing::AssertionFailure()
                       << "</" << name << "> at " << at << " closes nothing open";
            open.pop_back();
        } else if (!empty) {
            open.push_back(name);
        }
    }
    if (!open.empty())
        return ::testing::AssertionFailure() << "<" << open.back() << "> never closed";
    return ::testing::AssertionSuccess();
}

TEST(WorkbookPackage, PartsAndRelationshipsHoldTogether) {
    const WorkbookPackage package = BuildWorkbookPackage(
        {{L"Vantrel1", {{L"Name", L"Version"}, {L"Tool & <Co>", L"2.4.1"}}}, {L"Vantrel2", {{L"12"}}}});
    std::map<std::wstring, const PackagePart*> parts;
    for (const PackagePart& part : package.parts) {
        EXPECT_TRUE(part.bytes.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"")) << part.bytes;
        EXPECT_TRUE(Balanced(part.bytes)) << part.bytes;
        EXPECT_FALSE(part.contentType.empty());
        parts[part.name] = &part;
    }
    ASSERT_EQ(parts.size(), 4u); // workbook, styles, two sheets

    // The package points at the workbook; each r:id of the workbook's <sheet> elements at a worksheet part.
    std::map<std::wstring, std::wstring> workbookTargets;
    int fromPackage = 0;
    for (const PackageRelationship& r : package.relationships) {
        if (r.sourcePart.empty()) {
            ++fromPackage;
            EXPECT_TRUE(r.type.ends_with(L"/officeDocument"));
            EXPECT_EQ(parts.at(L"/" + r.target)->contentType,
                      L"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
        } else {
            ASSERT_EQ(r.sourcePart, L"/xl/workbook.xml");
            EXPECT_TRUE(workbookTargets.emplace(r.id, r.target).second) << "id used twice";
            EXPECT_TRUE(parts.contains(L"/xl/" + r.target))
                << "no part for " << std::string(r.target.begin(), r.target.end());
        }
    }
    EXPECT_EQ(fromPackage, 1);
    const std::string& workbook = parts.at(L"/xl/workbook.xml")->bytes;
    const std::pair<std::string, std::wstring> sheets[] = {
        {"<sheet name=\"Vantrel1\" sheetId=\"1\" r:id=\"rId1\"/>", L"rId1"},
        {"<sheet name=\"Vantrel2\" sheetId=\"2\" r:id=\"rId2\"/>", L"rId2"},
    };
    for (const auto& [element, id] : sheets) {
        EXPECT_NE(workbook.find(element), std::string::npos) << workbook;
        ASSERT_TRUE(workbookTargets.contains(id));
        EXPECT_EQ(parts.at(L"/xl/" + workbookTargets.at(id))->contentType,
                  L"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml");
    }
    EXPECT_NE(parts.at(L"/xl/" + workbookTargets.at(L"rId1"))->bytes.find("Tool &amp; &lt;Co&gt;"),
              std::string::npos);
    EXPECT_NE(parts.at(L"/xl/" + workbookTargets.at(L"rId2"))->bytes.find("<v>12</v>"), std::string::npos);
}

TEST(WorkbookPackage, NoSheetsGiveOneEmptySheet) {
    const WorkbookPackage package = BuildWorkbookPackage({});
    ASSERT_EQ(package.parts.size(), 3u);
    EXPECT_NE(package.parts[0].bytes.find("<sheet name=\"Sheet1\""), std::string::npos);
    EXPECT_NE(package.parts[2].bytes.find("<sheetData></sheetData>"), std::string::npos);
}

} // namespace
} // namespace vantrel
