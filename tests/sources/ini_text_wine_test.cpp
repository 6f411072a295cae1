// The ini reader against the system's profile functions: random files (line ends of every kind, blanks,
// brackets, "=", comments, quotes, NULs, duplicate names in different case, the three encodings), each asked
// the same questions both ways.
#include "sources/unicode_text.h"
#include "platform/win_ini_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace vantrel {
namespace {

constexpr std::array kSectionNames{L"Alpha",        L"alpha",      L"ALPHA",      L"Beta",   L"Strings",
                                   L"two words",    L"\x00c4rger", L"\x00e4rger", L"\x0416", L"\x0436",
                                   L"\xd83d\xde00", L"a]b",        L"x=y",        L"",       L";semi"};
constexpr std::array kKeys{
    L"Key",           L"key",      L"KEY",      L"Name", L"two words", L"\x00c9t\x00e9",
    L"\x00e9t\x00e9", L"[bracket", L";comment", L"",     L"k",         L"%Name%"};
constexpr std::array kValues{L"v",   L"\"quoted\"", L"'single'", L"\"",       L"''",    L"\"half",
                             L"a=b", L"",           L"%Name%",   L"\"mixed'", L"x y z", L"\"a\"b\""};
constexpr std::array kBlanks{L"", L"", L"", L" ", L"\t", L"  ", L"\x1a", L"\v", L"\f", L"\x00a0"};
constexpr std::array kLineEnds{L"\r\n", L"\r\n", L"\n", L"\r", L"\n\r", L"\r\r\n"};
constexpr std::wstring_view kOddCharacters = L"[]=;\"' aB\t";

class RandomIni {
public:
    explicit RandomIni(unsigned seed) : random_(seed) {}

    size_t Below(size_t n) { return random_() % n; }
    template <typename Pool> std::wstring Pick(const Pool& pool) { return pool[Below(pool.size())]; }
    std::wstring Blank() { return Pick(kBlanks); }

    std::wstring Line() {
        std::wstring line;
        switch (Below(11)) {
        case 0:
        case 1:
        case 2:
            line = Blank() + Pick(kKeys) + Blank() + L"=" + Blank() + Pick(kValues) + Blank();
            break;
        case 3:
            line = Blank() + Pick(kKeys) + Blank();
            break;
        case 4:
        case 5:
            line = Blank() + L"[" + Blank() + Pick(kSectionNames) + Blank() + L"]" + Blank();
            if (Below(4) == 0)
                line += Pick(kValues) + L"]" + Pick(kKeys);
            break;
        case 6:
            line = L"[" + Pick(kSectionNames) + Blank();
            break;
        case 7:
            line = Blank() + L";" + Pick(kKeys) + L"=" + Pick(kValues);
            break;
        case 8:
            line = Blank() + L"=" + Blank() + Pick(kValues);
            break;
        case 9:
            line = Blank();
            break;
        default:
            for (size_t n = Below(8); n > 0; --n)
                line += kOddCharacters[Below(kOddCharacters.size())];
        }
        if (Below(15) == 0)
            line.insert(Below(line.size() + 1), 1, L'\0');
        return line;
    }

    std::wstring Text() {
        std::wstring text;
        for (size_t n = 5 + Below(36); n > 0; --n)
            text += Line() + Pick(kLineEnds);
        if (Below(4) == 0) // no line end at the end
            text.resize(text.find_last_not_of(L"\r\n") + 1);
        return text;
    }

    // The file's bytes: ANSI (one byte a character), UTF-8 or UTF-16 either way round, with its mark. No
    // UTF-16 file has an odd byte at its end: the system reads whatever byte lies beyond the file's in its
    // memory with it, which differs from run to run.
    std::string Bytes(const std::wstring& text) {
        std::string bytes;
        switch (Below(4)) {
        case 0:
            for (const wchar_t c : text)
                bytes += c < 0x100 ? static_cast<char>(c) : '?';
            break;
        case 1:
            bytes = "\xef\xbb\xbf";
            for (size_t n = 0; n < text.size(); ++n) {
                char32_t c = text[n];
                if (c >= 0xd800 && c < 0xdc00 && n + 1 < text.size())
                    c = 0x10000 + ((c - 0xd800) << 10) + (text[++n] - 0xdc00);
                AppendUtf8(bytes, c);
            }
            break;
        default: {
            const bool bigEndian = Below(2) == 0;
            bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
            for (const wchar_t c : text) {
                const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xff);
                bytes += bigEndian ? high : low;
                bytes += bigEndian ? low : high;
            }
        }
        }
        return bytes;
    }

private:
    std::mt19937 random_;
};

// --- The system's answers ---

constexpr DWORD kBufferChars = 65536;

std::vector<std::wstring> SplitList(const std::wstring& buffer, DWORD length) {
    std::vector<std::wstring> items;
    for (size_t start = 0; start < length;) {
        const size_t end = buffer.find(L'\0', start);
        if (end == start)
            break;
        items.emplace_back(buffer, start, end - start);
        start = end + 1;
    }
    return items;
}

std::vector<std::wstring> SystemSectionNames(const std::wstring& path) {
    std::wstring buffer(kBufferChars, L'\0');
    return SplitList(buffer, GetPrivateProfileSectionNamesW(buffer.data(), kBufferChars, path.c_str()));
}

std::vector<std::wstring> SystemSectionEntries(const std::wstring& path, const std::wstring& section) {
    std::wstring buffer(kBufferChars, L'\0');
    return SplitList(buffer,
                     GetPrivateProfileSectionW(section.c_str(), buffer.data(), kBufferChars, path.c_str()));
}

std::wstring SystemValue(const std::wstring& path, const std::wstring& section, const std::wstring& key) {
    std::wstring buffer(kBufferChars, L'\0');
    buffer.resize(GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(), kBufferChars,
                                           path.c_str()));
    return buffer;
}

// --- Comparing ---

std::string Shown(std::wstring_view text) {
    std::ostringstream out;
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7f && c != L'\\')
            out << static_cast<char>(c);
        else
            out << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
    }
    return out.str();
}

std::string Shown(const std::vector<std::wstring>& list) {
    std::string shown = "{";
    for (const std::wstring& item : list)
        shown += " \"" + Shown(item) + "\"";
    return shown + " }";
}

std::wstring Padded(std::wstring_view text) {
    return L" \t" + std::wstring(text) + L" ";
}

std::wstring UpperAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - (L'a' - L'A'));
    return text;
}

class IniTextOracle : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override {
        if (!path.empty())
            DeleteFileW(path.c_str());
    }

    // Writes the seed's file and compares every answer; the first difference fails the seed.
    ::testing::AssertionResult SameAnswers(unsigned seed) {
        RandomIni random(seed);
        const std::wstring text = random.Text();
        const std::string bytes = random.Bytes(text);
        wchar_t folder[MAX_PATH]{};
        GetTempPathW(MAX_PATH, folder);
        path = std::wstring(folder) + L"vantrel oracle " + std::to_wstring(seed) + L".ini";
        std::ofstream(std::filesystem::path(path), std::ios::binary)
            .write(bytes.data(), std::streamsize(bytes.size()));
        const auto differs = [&](const std::string& question, const std::string& system,
                                 const std::string& ours) {
            return ::testing::AssertionFailure()
                   << "seed " << seed << ", " << question << ": the system answers " << system
                   << ", the reader " << ours << "\nfile: " << Shown(text);
        };

        WinIniFiles ini;
        const auto names = SystemSectionNames(path);
        if (const auto ours = ini.SectionNames(path); ours != names)
            return differs("section names", Shown(names), Shown(ours));

        std::set<std::wstring> sections(names.begin(), names.end());
        sections.insert(kSectionNames.begin(), kSectionNames.end());
        std::set<std::wstring> keys(kKeys.begin(), kKeys.end());
        for (const std::wstring& name : names) {
            sections.insert(UpperAscii(name));
            sections.insert(Padded(name));
        }
        for (const std::wstring& section : sections) {
            const auto entries = SystemSectionEntries(path, section);
            if (const auto ours = ini.SectionEntries(path, section); ours != entries)
                return differs("entries of \"" + Shown(section) + "\"", Shown(entries), Shown(ours));
            for (const std::wstring& entry : entries)
                keys.insert(entry.substr(0, entry.find(L'=')));
        }
        std::set<std::wstring> keyQuestions = keys;
        for (const std::wstring& key : keys) {
            keyQuestions.insert(UpperAscii(key));
            keyQuestions.insert(Padded(key));
        }
        std::set<std::wstring> sectionQuestions(names.begin(), names.end());
        sectionQuestions.insert(L"");
        if (!names.empty())
            sectionQuestions.insert(Padded(UpperAscii(names.front())));
        for (const std::wstring& section : sectionQuestions)
            for (const std::wstring& key : keyQuestions) {
                const std::wstring value = SystemValue(path, section, key);
                if (const std::wstring ours = ini.ReadIniValue(path, section, key); ours != value)
                    return differs("value of \"" + Shown(key) + "\" in \"" + Shown(section) + "\"",
                                   "\"" + Shown(value) + "\"", "\"" + Shown(ours) + "\"");
            }
        return ::testing::AssertionSuccess();
    }

    std::wstring path;
};

constexpr int kSeedsPerCase = 30;

TEST_P(IniTextOracle, AnswersAsTheProfileFunctions) {
    for (int seed = GetParam(); seed < GetParam() + kSeedsPerCase; ++seed) {
        ASSERT_TRUE(SameAnswers(static_cast<unsigned>(seed)));
        DeleteFileW(path.c_str());
    }
}

// Seeds 1 to 150.
INSTANTIATE_TEST_SUITE_P(Seeds, IniTextOracle, ::testing::Range(1, 151, kSeedsPerCase));

} // namespace
} // namespace vantrel
