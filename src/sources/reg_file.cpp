#include "sources/reg_file.h"

#include "sources/export_text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace vantrel {
namespace {

constexpr std::wstring_view kVersion5Header = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kVersion4Header = L"REGEDIT4";

struct RootName {
    std::wstring_view name;
    RootKey root;
    bool read; // false: a root the program never asks for; its sections are passed over
};
constexpr std::array<RootName, 7> kRoots = {{
    {L"HKEY_LOCAL_MACHINE", RootKey::LocalMachine, true},
    {L"HKEY_CURRENT_USER", RootKey::CurrentUser, true},
    {L"HKEY_CLASSES_ROOT", RootKey::ClassesRoot, true},
    {L"HKEY_USERS", RootKey::Users, true},
    {L"HKEY_CURRENT_CONFIG", RootKey::LocalMachine, false},
    {L"HKEY_DYN_DATA", RootKey::LocalMachine, false},
    {L"HKEY_PERFORMANCE_DATA", RootKey::LocalMachine, false},
}};

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view TrimStart(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::wstring_view TrimEnd(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// What may follow a value or a key's closing bracket: blanks, and a comment.
bool OnlyCommentLeft(std::wstring_view rest) {
    rest = TrimStart(rest);
    return rest.empty() || rest.front() == L';';
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool SameAscii(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const wchar_t x = a[i] >= L'a' && a[i] <= L'z' ? static_cast<wchar_t>(a[i] - 32) : a[i];
        const wchar_t y = b[i] >= L'a' && b[i] <= L'z' ? static_cast<wchar_t>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

bool StartsWithAscii(std::wstring_view text, std::wstring_view start) {
    return text.size() >= start.size() && SameAscii(text.substr(0, start.size()), start);
}

// The number of hex digits at the start of the text, at most `max`; nothing when there are none or more.
std::optional<std::uint32_t> HexNumber(std::wstring_view digits, size_t max) {
    if (digits.empty() || digits.size() > max)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const wchar_t c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

bool IsStringType(std::uint32_t type) {
    return type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz;
}

void AppendUtf16(std::vector<std::uint8_t>& bytes, wchar_t c) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
}

using Failure = std::unexpected<RegFileError>;

// One pass over the decoded text, line by line; a hex value's continuation lines are read where it goes on.
// Keys, names and data are read in place or into buffers kept from value to value, so a file of many values
// costs no allocation per value.
class Parser {
public:
    Parser(std::wstring_view file, RegFileSink& sink) : file_(file), sink_(sink) {}

    std::expected<void, RegFileError> Run() {
        std::wstring_view line;
        NextLine(line); // there is always a first line, if only an empty one
        const std::wstring_view header = TrimEnd(line);
        if (header == kVersion4Header)
            ansiStrings_ = true;
        else if (header != kVersion5Header)
            return Fail(L"the file does not start with \"" + std::wstring(kVersion5Header) + L"\" or \"" +
                        std::wstring(kVersion4Header) + L"\"");
        while (NextLine(line)) {
            line = TrimStart(line);
            if (line.empty() || line.front() == L';')
                continue;
            std::expected<void, RegFileError> read;
            if (line.front() == L'[')
                read = KeyLine(line);
            else if (line.front() == L'"' || line.front() == L'@')
                read = ValueLine(line);
            else
                read = Fail(L"neither a key, a value nor a comment");
            if (!read)
                return read;
        }
        return {};
    }

private:
    enum class Section : std::uint8_t { None, PassedOver, Key };

    Failure Fail(std::wstring problem) const { return Failure(RegFileError{line_, std::move(problem)}); }

    // The next line without its line break; false at the end of the text.
    bool NextLine(std::wstring_view& line) {
        // A line break at the very end ends the last line; it starts no empty one.
        if (position_ > file_.size() || (position_ == file_.size() && line_ > 0))
            return false;
        size_t end = file_.find(L'\n', position_);
        if (end == std::wstring_view::npos)
            end = file_.size();
        line = file_.substr(position_, end - position_);
        if (line.ends_with(L'\r'))
            line.remove_suffix(1);
        position_ = end + 1;
        ++line_;
        return true;
    }

    std::expected<void, RegFileError> KeyLine(std::wstring_view line) {
        const size_t close = line.rfind(L']');
        if (close == std::wstring_view::npos)
            return Fail(L"the key has no closing \"]\"");
        if (!OnlyCommentLeft(line.substr(close + 1)))
            return Fail(L"text after the key's closing \"]\"");
        std::wstring_view key = line.substr(1, close - 1);
        if (key.starts_with(L'-')) {
            section_ = Section::PassedOver; // a deleted key: nothing of it is held
            return {};
        }
        const size_t slash = key.find(L'\\');
        const std::wstring_view rootName = key.substr(0, slash);
        std::wstring_view path =
            slash == std::wstring_view::npos ? std::wstring_view() : key.substr(slash + 1);
        while (path.ends_with(L'\\'))
            path.remove_suffix(1);
        if (path.starts_with(L'\\') || path.find(L"\\\\") != std::wstring_view::npos)
            return Fail(L"the key's path has an empty level");
        for (const RootName& root : kRoots) {
            if (!SameAscii(rootName, root.name))
                continue;
            section_ = root.read ? Section::Key : Section::PassedOver;
            if (root.read)
                sink_.Key(root.root, path);
            return {};
        }
        return Fail(L"unknown root key \"" + std::wstring(rootName) + L"\"");
    }

    // A quoted text starting at `at` (the opening quote) into `out`, its escapes undone; the position after
    // the closing quote, or nothing when there is none on the line.
    static std::optional<size_t> Quoted(std::wstring_view line, size_t at, std::wstring& out) {
        out.clear();
        for (size_t i = at + 1; i < line.size(); ++i) {
            const wchar_t c = line[i];
            if (c == L'"')
                return i + 1;
            if (c != L'\\' || i + 1 == line.size()) {
                out += c;
                continue;
            }
            // regedit writes "\\" and "\""; Wine's also "\n", "\r" and "\0" for characters a line cannot
            // hold.
            switch (const wchar_t next = line[++i]) {
            case L'n':
                out += L'\n';
                break;
            case L'r':
                out += L'\r';
                break;
            case L'0':
                out += L'\0';
                break;
            case L'\\':
            case L'"':
                out += next;
                break;
            default: // not an escape regedit writes: kept as it stands
                out += L'\\';
                out += next;
                break;
            }
        }
        return std::nullopt;
    }

    std::expected<void, RegFileError> ValueLine(std::wstring_view line) {
        if (section_ == Section::None)
            return Fail(L"a value before the first key");
        size_t at = 1;
        if (line.front() == L'@') {
            name_.clear();
        } else {
            const auto end = Quoted(line, 0, name_);
            if (!end)
                return Fail(L"the value's name has no closing quote");
            at = *end;
        }
        std::wstring_view rest = TrimStart(line.substr(at));
        if (!rest.starts_with(L'='))
            return Fail(L"\"=\" expected after the value's name");
        rest = TrimStart(rest.substr(1));

        std::uint32_t type = regtype::kNone;
        data_.clear();
        if (rest.starts_with(L'-')) {
            if (!OnlyCommentLeft(rest.substr(1)))
                return Fail(L"text after a value's deletion");
            return {}; // a deletion: the value is not there
        }
        if (rest.starts_with(L'"')) {
            const auto end = Quoted(rest, 0, textBuffer_);
            if (!end)
                return Fail(L"the text has no closing quote");
            if (!OnlyCommentLeft(rest.substr(*end)))
                return Fail(L"text after the value's closing quote");
            type = regtype::kSz;
            for (const wchar_t c : textBuffer_)
                AppendUtf16(data_, c);
            AppendUtf16(data_, L'\0');
        } else if (StartsWithAscii(rest, L"dword:")) {
            rest = rest.substr(6);
            const size_t digits = std::min(rest.find_first_of(L" \t;"), rest.size());
            const auto number = HexNumber(rest.substr(0, digits), 8);
            if (!number || !OnlyCommentLeft(rest.substr(digits)))
                return Fail(L"a dword needs one to eight hex digits");
            type = regtype::kDword;
            for (int shift = 0; shift < 32; shift += 8)
                data_.push_back(static_cast<std::uint8_t>(*number >> shift));
        } else if (StartsWithAscii(rest, L"hex:")) {
            type = regtype::kBinary;
            if (auto read = HexBytes(rest.substr(4)); !read)
                return read;
        } else if (StartsWithAscii(rest, L"hex(")) {
            const size_t close = rest.find(L')');
            const auto number =
                close == std::wstring_view::npos ? std::nullopt : HexNumber(rest.substr(4, close - 4), 8);
            if (!number || rest.substr(close + 1, 1) != L":")
                return Fail(L"the type of hex(type): is not a hex number");
            type = *number;
            if (auto read = HexBytes(rest.substr(close + 2)); !read)
                return read;
            if (ansiStrings_ && IsStringType(type))
                WidenAnsiData();
        } else {
            return Fail(L"the data is neither a quoted text, dword: nor hex:");
        }
        if (section_ == Section::Key)
            sink_.Value(name_, type, data_);
        return {};
    }

    // Comma-separated bytes of one or two hex digits; a line ending in "\" goes on in the next line that is
    // neither blank nor a comment.
    std::expected<void, RegFileError> HexBytes(std::wstring_view rest) {
        size_t i = 0;
        for (;;) {
            while (i < rest.size() && IsBlank(rest[i]))
                ++i;
            if (i == rest.size() || rest[i] == L';')
                return {};
            if (rest[i] == L'\\') {
                if (!OnlyCommentLeft(rest.substr(i + 1)))
                    return Fail(L"text after the \"\\\" that continues the data");
                do {
                    if (!NextLine(rest))
                        return Fail(L"the data goes on past the end of the file");
                    rest = TrimStart(rest);
                } while (rest.empty() || rest.front() == L';');
                i = 0;
                continue;
            }
            const int high = HexDigit(rest[i]);
            if (high < 0)
                return Fail(L"a hex byte needs one or two hex digits");
            int value = high;
            ++i;
            if (i < rest.size() && HexDigit(rest[i]) >= 0)
                value = value * 16 + HexDigit(rest[i++]);
            data_.push_back(static_cast<std::uint8_t>(value));
            while (i < rest.size() && IsBlank(rest[i]))
                ++i;
            if (i < rest.size() && rest[i] == L',')
                ++i;
            else if (i < rest.size() && rest[i] != L'\\' && rest[i] != L';')
                return Fail(L"a hex byte needs one or two hex digits, and a \",\" after it");
        }
    }

    // REGEDIT4 files hold the bytes of texts in the ANSI code page; the registry holds them in UTF-16, as it
    // does after regedit imported them.
    void WidenAnsiData() {
        ansiBuffer_.assign(data_.begin(), data_.end());
        data_.clear();
        for (const std::uint8_t byte : ansiBuffer_)
            AppendUtf16(data_, AnsiCharacter(byte));
    }

    std::wstring_view file_;
    RegFileSink& sink_;
    size_t position_ = 0;
    size_t line_ = 0;
    bool ansiStrings_ = false;
    Section section_ = Section::None;
    std::wstring name_;
    std::wstring textBuffer_;
    std::vector<std::uint8_t> data_;
    std::vector<std::uint8_t> ansiBuffer_;
};

} // namespace

std::wstring DescribeRegFileError(const RegFileError& error) {
    return L"line " + std::to_wstring(error.line) + L": " + error.problem;
}

std::expected<void, RegFileError> ReadRegFile(std::span<const std::uint8_t> bytes, RegFileSink& sink) {
    const std::wstring text = DecodeExportText(bytes);
    sink.Expect(text.size());
    return Parser(text, sink).Run();
}

} // namespace vantrel
