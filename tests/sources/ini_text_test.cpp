// The ini reader's rules, each from a small file; the Wine test compares the same answers with the
// system's profile functions over random files.
#include "sources/ini_text.h"

#include <gtest/gtest.h>

#include <cctype>

namespace vantrel {
namespace {

using Names = std::vector<std::wstring>;

IniText Parse(std::string_view bytes) {
    return ParseIniText(bytes, PortableIniDecoders());
}

struct SectionCase {
    const char* what;
    std::string_view file;
    Names names;
    std::wstring section;
    Names entries;
};

class IniTextSections : public ::testing::TestWithParam<SectionCase> {};

TEST_P(IniTextSections, ListAsTheProfileFunctionsDo) {
    const SectionCase& c = GetParam();
    const IniText text = Parse(c.file);
    EXPECT_EQ(text.SectionNames(), c.names);
    EXPECT_EQ(text.SectionEntries(c.section), c.entries);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Rules, IniTextSections,
    ::testing::Values(
        SectionCase{
            "line ends of every kind", "[A]\ra=1\nb=2\r\n\n\rc=3", {L"A"}, L"A", {L"a=1", L"b=2", L"c=3"}},
        SectionCase{"blanks trimmed", " \t[ A\x1a ]\x1a\r\n\t k \t= \t v \x1a\r\n", {L"A"}, L"a", {L"k=v"}},
        SectionCase{
            "vertical tab and form feed are blanks too", "[A]\r\n\vk\f=\fv\v\r\n", {L"A"}, L"A", {L"k=v"}},
        SectionCase{"other spaces are not", "[A]\r\n\xa0k=v\xa0\r\n", {L"A"}, L"A", {L"\xa0k=v\xa0"}},
        SectionCase{"nameless sections not listed", "[]\r\n[ ]\r\nx=1\r\n[B]\r\n", {L"B"}, L"", {}},
        SectionCase{
            "no closing bracket makes an entry", "[A]\r\n[B\r\n[C=1\r\n", {L"A"}, L"A", {L"[B", L"[C=1"}},
        SectionCase{"text after the last bracket ignored", "[A]x]y\r\nk=v\r\n", {L"A]x"}, L"A]x", {L"k=v"}},
        SectionCase{
            "lines without equals sign whole", "[A]\r\nplain line\r\n", {L"A"}, L"A", {L"plain line"}},
        SectionCase{"comments dropped", "[A]\r\n;k=v\r\n  ;x\r\nk=v\r\n", {L"A"}, L"A", {L"k=v"}},
        SectionCase{"quotes kept", "[A]\r\nk=\"v\"\r\n", {L"A"}, L"A", {L"k=\"v\""}},
        SectionCase{"empty keys kept one at a time",
                    "[A]\r\n=1\r\n=2\r\nk=3\r\n = 4\r\n;c\r\n=5\r\n",
                    {L"A"},
                    L"A",
                    {L"=1", L"k=3", L"=4", L"=5"}},
        SectionCase{"a NUL ends a key and a value",
                    "[A]\r\nk\0x=v\0w\r\n\0only\r\n=after\r\n"sv,
                    {L"A"},
                    L"A",
                    {L"k=v"}},
        SectionCase{"a NUL ends a section name", "[A\0B]\r\nk=v\r\n"sv, {L"A"}, L"a", {L"k=v"}},
        SectionCase{"first of duplicate sections answers",
                    "[A]\r\nk=1\r\n[a]\r\nk=2\r\n",
                    {L"A", L"a"},
                    L"A",
                    {L"k=1"}},
        SectionCase{"lines before the first section are nameless", "k=0\r\n[A]\r\n", {L"A"}, L"", {L"k=0"}},
        SectionCase{"section name taken as given", "[A]\r\nk=v\r\n", {L"A"}, L" A", {}},
        SectionCase{"no bytes, no sections", "", {}, L"", {}}),
    [](const auto& info) {
        std::string name;
        for (const char* c = info.param.what; *c != '\0'; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

struct ValueCase {
    std::string_view file;
    std::wstring section;
    std::wstring key;
    std::wstring value;
};

class IniTextValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(IniTextValues, ReadAsTheProfileFunctionsDo) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(Parse(c.file).Value(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(Rules, IniTextValues,
                         ::testing::Values(ValueCase{"[Sec]\r\nKey=v\r\n", L"sEC", L"kEY", L"v"},
                                           ValueCase{"[Sec]\r\nKey=v\r\n", L" Sec\t", L"\tKey ", L"v"},
                                           ValueCase{"[Sec]\r\nk=1\r\nK=2\r\n", L"Sec", L"k", L"1"},
                                           ValueCase{"[Sec]\r\n[sec]\r\nk=2\r\n", L"Sec", L"k", L""},
                                           ValueCase{"[Sec]\r\nk\r\n", L"Sec", L"k", L""},
                                           ValueCase{"[Sec]\r\nk=\"quoted\"\r\n", L"Sec", L"k", L"quoted"},
                                           ValueCase{"[Sec]\r\nk='single'\r\n", L"Sec", L"k", L"single"},
                                           ValueCase{"[Sec]\r\nk=\"a'\r\n", L"Sec", L"k", L"\"a'"},
                                           ValueCase{"[Sec]\r\nk=\"\r\n", L"Sec", L"k", L"\""},
                                           ValueCase{"[Sec]\r\nk=\"\"\r\n", L"Sec", L"k", L""},
                                           ValueCase{"[Sec]\r\nk=\"\"x\"\"\r\n", L"Sec", L"k", L"\"x\""},
                                           ValueCase{"[Sec]\r\n;c=1\r\n", L"Sec", L";c", L"1"},
                                           ValueCase{"[Sec]\r\n=nameless\r\n", L"Sec", L"", L"nameless"},
                                           ValueCase{"before=1\r\n[Sec]\r\n", L"", L"before", L"1"},
                                           ValueCase{"[Sec]\r\nk=1\r\n", std::wstring(L"Sec\0x", 5),
                                                     std::wstring(L"k\0y", 3), L"1"}));

std::string Utf16(std::wstring_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xfe\xff" : "\xff\xfe";
    for (const wchar_t c : text) {
        const char high = static_cast<char>((c >> 8) & 0xff), low = static_cast<char>(c & 0xff);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(IniTextEncodings, ByteOrderMarksChooseTheEncoding) {
    const std::wstring text = L"[\x00c4\x4e2d]\r\nk=\xd83d\xde00\r\n";
    for (const std::string& bytes :
         {Utf16(text, false), Utf16(text, true),
          std::string("\xef\xbb\xbf[\xc3\x84\xe4\xb8\xad]\r\nk=\xf0\x9f\x98\x80\r\n")}) {
        const IniText parsed = Parse(bytes);
        EXPECT_EQ(parsed.SectionNames(), Names{L"\x00c4\x4e2d"});
        EXPECT_EQ(parsed.Value(L"\x00c4\x4e2d", L"k"), L"\xd83d\xde00");
    }
}

TEST(IniTextEncodings, AnsiGoesThroughTheGivenDecoder) {
    IniDecoders decoders = PortableIniDecoders();
    decoders.ansi = [](std::string_view bytes, std::wstring& text) {
        for (const char c : bytes)
            text += c == '\x80' ? L'\x20ac' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    };
    EXPECT_EQ(ParseIniText("[S]\r\nk=\x80\r\n", decoders).Value(L"S", L"k"), L"\x20ac");
    // Without a byte order mark, UTF-8 is read as ANSI too.
    EXPECT_EQ(Parse("[S]\r\nk=\xc3\x84\r\n").Value(L"S", L"k"), L"\xc3\x84");
}

TEST(IniTextEncodings, AnOddLastByteOfUtf16IsACharacterOfItsOwn) {
    for (const bool bigEndian : {false, true}) {
        const IniText parsed = Parse(Utf16(L"[S]\r\nk=v", bigEndian) + "w");
        EXPECT_EQ(parsed.Value(L"S", L"k"), L"vw") << bigEndian;
    }
}

TEST(IniTextEncodings, CaseIsFoldedForAsciiLettersOnly) {
    const IniText parsed = Parse("\xef\xbb\xbf[\xc3\x84]\r\nk=1\r\n");
    EXPECT_EQ(parsed.Value(L"\x00c4", L"k"), L"1");
    EXPECT_EQ(parsed.Value(L"\x00e4", L"k"), L"");
}

// Names of characters above U+007F sort among the others and are found as any name is.
TEST(IniTextEncodings, EveryNameIsFoundWhateverItsCharacters) {
    std::string file;
    const std::vector<std::string> names = {"\xe4"
                                            "a",
                                            "\xa0"
                                            "b",
                                            "c",
                                            "\xff",
                                            "A",
                                            "z\xe9",
                                            "\x80",
                                            "M"};
    for (const std::string& name : names)
        file += "[" + name + "]\r\nk=" + name + "\r\n";
    const IniText parsed = Parse(file);
    for (const std::string& name : names) {
        std::wstring wide;
        PortableIniDecoders().ansi(name, wide);
        EXPECT_EQ(parsed.SectionEntries(wide), Names{L"k=" + wide}) << name;
        EXPECT_EQ(parsed.Value(wide, L"K"), wide) << name;
    }
}

// Pieces may end anywhere: inside a byte order mark, a line end, a UTF-8 or UTF-16 character.
TEST(IniTextReading, PiecesOfAnySizeReadAsTheWholeFile) {
    std::string utf8 = "\xef\xbb\xbf";
    std::string ansi;
    for (int s = 0; s < 40; ++s) {
        const std::string section = "[Section \xc3\xa9" + std::to_string(s) + "]\r\n";
        utf8 += section;
        ansi += section;
        for (int k = 0; k < 5; ++k) {
            const std::string line =
                "Key" + std::to_string(k) + " = \xe2\x82\xac " + std::to_string(s * k) + "\r\n";
            utf8 += line;
            ansi += line;
        }
    }
    std::wstring wide;
    PortableIniDecoders().utf8(std::string_view(utf8).substr(3), wide);
    for (const std::string& file : {utf8, ansi, Utf16(wide, false), Utf16(wide, true) + "x"}) {
        const IniText whole = Parse(file);
        for (const size_t piece : {1u, 2u, 3u, 7u, 64u}) {
            IniTextReader reader(PortableIniDecoders());
            for (size_t at = 0; at < file.size(); at += piece)
                reader.Add(std::string_view(file).substr(at, piece));
            const IniText pieces = reader.Finish();
            ASSERT_EQ(pieces.SectionNames(), whole.SectionNames()) << piece;
            for (const std::wstring& name : whole.SectionNames())
                ASSERT_EQ(pieces.SectionEntries(name), whole.SectionEntries(name)) << piece;
        }
        EXPECT_EQ(whole.SectionNames().size(), 40u);
    }
}

std::string NumberedSections(int sections, std::string_view eAcute) {
    std::string file;
    for (int s = 0; s < sections; ++s) {
        file += "[Section" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 40; ++k)
            file += "Key" + std::to_string(k) + "=value " + std::string(eAcute) + std::to_string(s) + "\r\n";
    }
    return file;
}

// The usual file, all its characters below U+0100, is held in about its own size.
TEST(IniTextReading, LatinTextIsHeldOneByteACharacter) {
    const std::string file = NumberedSections(2000, "\xe9");
    const IniText parsed = Parse(file);
    EXPECT_EQ(parsed.SectionEntries(L"section1999").size(), 40u);
    EXPECT_EQ(parsed.Value(L"Section7", L"key3"), L"value \xe9"
                                                  L"7");
    EXPECT_LE(parsed.HeldBytes(), file.size() + 2 * 2001 * 40); // lists grow twofold
}

// A character beyond U+00FF late in the file: what was read before it still answers, and it too.
TEST(IniTextReading, TextBeyondLatinIsHeldWide) {
    const std::string file =
        "\xef\xbb\xbf" + NumberedSections(300, "\xc3\xa9") + "[\xe4\xb8\xad]\r\nKey=\xe2\x82\xac\r\n";
    const IniText parsed = Parse(file);
    EXPECT_EQ(parsed.Value(L"Section7", L"key3"), L"value \xe9"
                                                  L"7");
    EXPECT_EQ(parsed.SectionNames().front(), L"Section0");
    EXPECT_EQ(parsed.SectionNames().back(), L"\x4e2d");
    EXPECT_EQ(parsed.SectionEntries(L"\x4e2d"), Names{L"Key=\x20ac"});
    EXPECT_LE(parsed.HeldBytes(), sizeof(wchar_t) * file.size() + 2 * 301 * 40); // lists grow twofold
}

} // namespace
} // namespace vantrel
