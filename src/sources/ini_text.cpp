#include "sources/ini_text.h"

#include "sources/unicode_text.h"

#include <algorithm>
#include <utility>

namespace vantrel {
namespace {

// The blanks trimmed around lines, names and values: tab to carriage return, ^Z (an end-of-file mark that
// old tools left in the text) and space.
bool IsBlank(wchar_t c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == L' ';
}

std::wstring_view TrimStart(std::wstring_view text) {
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    return text.substr(first);
}

std::wstring_view TrimEnd(std::wstring_view text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::wstring_view Trim(std::wstring_view text) {
    return TrimEnd(TrimStart(text));
}

// Names and values are C strings to the profile functions: a NUL ends them.
std::wstring_view UpToNul(std::wstring_view text) {
    return text.substr(0, text.find(L'\0'));
}

// Names are compared with only the ASCII letters folded, as the profile functions compare them.
wchar_t Folded(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

// Either side a view of held characters (one byte or two each) or of UTF-16.
template <typename A, typename B>
bool SameWithoutCase(std::basic_string_view<A> a, std::basic_string_view<B> b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](auto x, auto y) {
               return Folded(WideChar(x)) == Folded(WideChar(y));
           });
}

template <typename A, typename B>
bool BeforeWithoutCase(std::basic_string_view<A> a, std::basic_string_view<B> b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](auto x, auto y) {
        return Folded(WideChar(x)) < Folded(WideChar(y));
    });
}

void DecodeLatin1(std::string_view bytes, std::wstring& text) {
    for (const char byte : bytes)
        text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
}

// Where a run of ANSI or UTF-8 bytes can end without cutting a character: after its last byte below 0x40.
size_t SafeEnd(std::string_view bytes) {
    for (size_t end = bytes.size(); end > 0; --end)
        if (static_cast<unsigned char>(bytes[end - 1]) < 0x40)
            return end;
    return 0;
}

} // namespace

IniDecoders PortableIniDecoders() {
    return {DecodeLatin1, AppendUtf8AsUtf16};
}

// --- Reading ---

IniTextReader::IniTextReader(IniDecoders decoders, std::uint64_t expectedBytes)
    : decoders_(std::move(decoders)), expectedBytes_(expectedBytes) {}

void IniTextReader::Add(std::string_view bytes) {
    if (bytes.empty())
        return;
    anyBytes_ = true;
    pendingBytes_.append(bytes);
    if (encoding_ == Encoding::Unknown)
        ChooseEncoding(false);
    if (encoding_ != Encoding::Unknown)
        DecodePending(false);
}

IniText IniTextReader::Finish() {
    if (anyBytes_) {
        if (encoding_ == Encoding::Unknown)
            ChooseEncoding(true);
        DecodePending(true);
        if (!pendingLine_.empty())
            AddLine(pendingLine_);
        pendingLine_.clear();
    }
    IniText& text = text_;
    text.byName_.resize(text.sections_.size());
    for (size_t n = 0; n < text.byName_.size(); ++n)
        text.byName_[n] = static_cast<std::uint32_t>(n);
    text.chars_.Visit([&](auto chars) {
        std::ranges::stable_sort(text.byName_, [&](std::uint32_t a, std::uint32_t b) {
            return BeforeWithoutCase(IniText::NameIn(chars, text.sections_[a]),
                                     IniText::NameIn(chars, text.sections_[b]));
        });
    });
    return std::move(text_);
}

// The byte order mark decides, as the profile functions decide: UTF-8, UTF-16 either way round, or else
// the ANSI code page. Until three bytes have come (or the file ends) the choice waits.
void IniTextReader::ChooseEncoding(bool atEnd) {
    const std::string_view head = pendingBytes_;
    if (head.size() < 3 && !atEnd)
        return;
    size_t mark = 0;
    if (head.starts_with("\xef\xbb\xbf")) {
        encoding_ = Encoding::Utf8;
        mark = 3;
    } else if (head.starts_with("\xff\xfe")) {
        encoding_ = Encoding::Utf16Le;
        mark = 2;
    } else if (head.starts_with("\xfe\xff")) {
        encoding_ = Encoding::Utf16Be;
        mark = 2;
    } else {
        encoding_ = Encoding::Ansi;
    }
    pendingBytes_.erase(0, mark);
    // Decoded text never has more characters than the file has bytes (or pairs of bytes).
    const std::uint64_t most = encoding_ == Encoding::Utf16Le || encoding_ == Encoding::Utf16Be
                                   ? expectedBytes_ / 2 + 1
                                   : expectedBytes_;
    text_.chars_.Reserve(static_cast<size_t>(most));
    text_.sections_.push_back({}); // the lines before the first section
}

void IniTextReader::DecodePending(bool atEnd) {
    decoded_.clear();
    size_t used = 0;
    if (encoding_ == Encoding::Utf16Le || encoding_ == Encoding::Utf16Be) {
        const bool bigEndian = encoding_ == Encoding::Utf16Be;
        const size_t pairs = pendingBytes_.size() / 2;
        decoded_.reserve(pairs + 1);
        for (size_t n = 0; n < pairs; ++n) {
            const auto first = static_cast<unsigned char>(pendingBytes_[2 * n]);
            const auto second = static_cast<unsigned char>(pendingBytes_[2 * n + 1]);
            decoded_ += static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        }
        used = 2 * pairs;
        // A last odd byte is read as a character of its own, as though a NUL byte followed it. (The profile
        // functions pair it with whatever byte lies beyond the file in their memory, which differs from run
        // to run.)
        if (atEnd && used < pendingBytes_.size())
            decoded_ += static_cast<wchar_t>(static_cast<unsigned char>(pendingBytes_[used++]));
    } else {
        used = atEnd ? pendingBytes_.size() : SafeEnd(pendingBytes_);
        const IniByteDecoder& decode = encoding_ == Encoding::Utf8 ? decoders_.utf8 : decoders_.ansi;
        if (used > 0)
            decode(std::string_view(pendingBytes_).substr(0, used), decoded_);
    }
    pendingBytes_.erase(0, used);
    AddText(decoded_);
}

// Lines end at any run of carriage returns and line feeds.
void IniTextReader::AddText(std::wstring_view text) {
    size_t start = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != L'\r' && text[at] != L'\n')
            continue;
        if (pendingLine_.empty()) {
            AddLine(text.substr(start, at - start));
        } else {
            pendingLine_.append(text.substr(start, at - start));
            AddLine(pendingLine_);
            pendingLine_.clear();
        }
        start = at + 1;
    }
    pendingLine_.append(text.substr(start));
}

void IniTextReader::AddLine(std::wstring_view line) {
    line = Trim(line);
    if (line.empty())
        return;
    if (line.front() == L'[') {
        const size_t close = line.rfind(L']');
        if (close != std::wstring_view::npos) {
            // Whatever follows the last "]" does not count.
            StartSection(Trim(line.substr(1, close - 1)));
            return;
        }
    }
    AddEntry(line);
}

void IniTextReader::StartSection(std::wstring_view name) {
    IniText::Section& last = text_.sections_.back();
    last.entriesEnd = text_.chars_.Size();
    IniText::Section section;
    section.nameAt = text_.chars_.Size();
    name = UpToNul(name);
    section.nameLength = name.size();
    text_.chars_.Append(name);
    section.entriesAt = section.entriesEnd = text_.chars_.Size();
    text_.sections_.push_back(section);
    previous_ = Previous::None;
}

// An entry is held as the profile functions list it ("key=value", or the key alone for a line without
// "="), followed by a NUL. Lines that list nothing (comments, keys cut to nothing by a NUL) are held too,
// as a key lookup can still find them.
void IniTextReader::AddEntry(std::wstring_view line) {
    const size_t equals = line.find(L'=');
    const std::wstring_view rawKey =
        equals == std::wstring_view::npos ? line : TrimEnd(line.substr(0, equals));
    // A line of only "=value" is dropped when the entry before it in the section had no key either.
    if (rawKey.empty() && previous_ == Previous::Unnamed)
        return;
    const std::wstring_view key = UpToNul(rawKey);
    PackedChars& chars = text_.chars_;
    chars.Append(key);
    if (equals != std::wstring_view::npos) {
        chars.Append(L"=");
        chars.Append(UpToNul(TrimStart(line.substr(equals + 1))));
    }
    chars.Append(std::wstring_view(L"\0", 1));
    text_.sections_.back().entriesEnd = chars.Size();
    previous_ = key.empty() ? Previous::Unnamed : Previous::Named;
}

IniText ParseIniText(std::string_view bytes, const IniDecoders& decoders) {
    IniTextReader reader(decoders, bytes.size());
    reader.Add(bytes);
    return reader.Finish();
}

// --- Answering ---

const IniText::Section* IniText::Find(std::wstring_view name) const {
    return chars_.Visit([&](auto chars) -> const Section* {
        const auto found = std::lower_bound(byName_.begin(), byName_.end(), name,
                                            [&](std::uint32_t n, std::wstring_view wanted) {
                                                return BeforeWithoutCase(NameIn(chars, sections_[n]), wanted);
                                            });
        if (found == byName_.end() || !SameWithoutCase(NameIn(chars, sections_[*found]), name))
            return nullptr;
        return &sections_[*found];
    });
}

template <typename Visit> void IniText::ForEachEntry(const Section& section, Visit visit) const {
    chars_.Visit([&](auto chars) {
        for (size_t at = section.entriesAt; at < section.entriesEnd;) {
            const size_t end = chars.find(typename decltype(chars)::value_type{}, at);
            if (!visit(chars.substr(at, end - at)))
                return;
            at = end + 1;
        }
    });
}

std::vector<std::wstring> IniText::SectionNames() const {
    std::vector<std::wstring> names;
    chars_.Visit([&](auto chars) {
        for (const Section& section : sections_)
            if (section.nameLength > 0)
                names.push_back(WideText(NameIn(chars, section)));
    });
    return names;
}

std::vector<std::wstring> IniText::SectionEntries(std::wstring_view section) const {
    std::vector<std::wstring> entries;
    if (const Section* found = Find(UpToNul(section)))
        ForEachEntry(*found, [&](auto entry) {
            if (!entry.empty() && entry.front() != ';')
                entries.push_back(WideText(entry));
            return true;
        });
    return entries;
}

std::wstring IniText::Value(std::wstring_view section, std::wstring_view key) const {
    const Section* found = Find(Trim(UpToNul(section)));
    if (found == nullptr)
        return {};
    key = Trim(UpToNul(key));
    std::wstring value;
    ForEachEntry(*found, [&](auto entry) {
        const size_t equals = entry.find('=');
        if (!SameWithoutCase(entry.substr(0, equals), key))
            return true;
        if (equals != decltype(entry)::npos) {
            auto text = entry.substr(equals + 1);
            if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                text.back() == text.front())
                text = text.substr(1, text.size() - 2);
            value = WideText(text);
        }
        return false;
    });
    return value;
}

std::size_t IniText::HeldBytes() const {
    return chars_.HeldBytes() + sections_.capacity() * sizeof(Section) +
           byName_.capacity() * sizeof(std::uint32_t);
}

} // namespace vantrel
