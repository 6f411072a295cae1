#include "support/expected_workbook.h"

#include <windows.h>

#include <cstdio>

namespace vantrel {

std::string Utf8(const std::wstring& text) {
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string ExpectedJson(const std::vector<ExpectedSheet>& sheets) {
    std::string json = "{\"sheets\": [";
    for (size_t s = 0; s < sheets.size(); ++s) {
        const ExpectedSheet& expected = sheets[s];
        json += s > 0 ? ",\n" : "\n";
        json += "{\"name\": " + JsonString(expected.sheet.name) + ", \"numbers\": [";
        for (size_t n = 0; n < expected.numbers.size(); ++n)
            json += (n > 0 ? ", \"" : "\"") + expected.numbers[n] + "\"";
        json += "], \"rows\": [";
        for (size_t r = 0; r < expected.sheet.rows.size(); ++r) {
            json += r > 0 ? ",\n [" : "\n [";
            for (size_t c = 0; c < expected.sheet.rows[r].size(); ++c) {
                const auto changed = expected.readBack.find({r, c});
                json += (c > 0 ? ", " : "") + JsonString(changed != expected.readBack.end()
                                                             ? changed->second
                                                             : expected.sheet.rows[r][c]);
            }
            json += "]";
        }
        json += "]}";
    }
    return json + "\n]}\n";
}

namespace {

std::string CellName(size_t row, size_t col) {
    std::string letters;
    for (size_t n = col + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters + std::to_string(row + 1);
}

} // namespace

std::wstring WorkbookCheckFolder(std::string_view unixFolder) {
    std::wstring folder;
    if (!unixFolder.empty()) {
        folder = L"Z:" + std::wstring(unixFolder.begin(), unixFolder.end()) + L"\\";
        for (wchar_t& c : folder)
            c = c == L'/' ? L'\\' : c;
    } else {
        wchar_t temp[MAX_PATH]{};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"vantrel xlsx test\\";
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

ExpectedSheet ExpectedAsWritten(WorkbookSheet sheet) {
    ExpectedSheet expected{std::move(sheet), {}, {}};
    const auto& rows = expected.sheet.rows;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            if (StoredAsNumber(rows[r][c]))
                expected.numbers.push_back(CellName(r, c));
    return expected;
}

} // namespace vantrel
