#pragma once
// An ini file read once and held compactly, answering as the system's profile functions answer from the
// same bytes: the section names, a section's entries, one value. The file is given as bytes, in pieces if
// it is large, so that the caller can let messages run between pieces.
#include "sources/packed_chars.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Turns a run of a file's bytes into UTF-16, appended to `text`, as the system converts them. A run never
// ends inside a character: it ends after a byte below 0x40, which no multi-byte character holds.
using IniByteDecoder = std::function<void(std::string_view bytes, std::wstring& text)>;

struct IniDecoders {
    IniByteDecoder ansi; // files without a byte order mark, in the ANSI code page
    IniByteDecoder utf8; // files that start with the UTF-8 byte order mark
};

// Decoders that need no system: ANSI read as Latin-1, UTF-8 with U+FFFD for every byte that starts no
// valid character.
IniDecoders PortableIniDecoders();

class IniText {
public:
    // The names of the sections in file order, duplicates included; sections without a name are left out.
    std::vector<std::wstring> SectionNames() const;
    // The entries of the first section of that name (without regard to case, the name taken as given), in
    // file order: "key=value", or the whole line when it had no "="; comments left out.
    std::vector<std::wstring> SectionEntries(std::wstring_view section) const;
    // The value of the first key of that name in the first section of that name (both compared without
    // regard to case, blanks around them ignored), one pair of matching quotes (double or single) around it
    // dropped; empty when there is none or the line had no "=".
    std::wstring Value(std::wstring_view section, std::wstring_view key) const;
    // The memory held for the text, in bytes.
    std::size_t HeldBytes() const;

private:
    friend class IniTextReader;
    struct Section {
        std::size_t nameAt = 0;
        std::size_t nameLength = 0;
        std::size_t entriesAt = 0; // entries follow each other, each ended by a NUL
        std::size_t entriesEnd = 0;
    };
    template <typename Chars> static Chars NameIn(Chars chars, const Section& section) {
        return chars.substr(section.nameAt, section.nameLength);
    }
    const Section* Find(std::wstring_view name) const;
    // Calls `visit` with each entry of the section (a view of held characters) while it answers true.
    template <typename Visit> void ForEachEntry(const Section& section, Visit visit) const;

    PackedChars chars_;
    // In file order; the first holds the lines before the first section and has no name. Empty for a file
    // of no bytes.
    std::vector<Section> sections_;
    // Indexes of sections_ by name without regard to case, in file order among equal names.
    std::vector<std::uint32_t> byName_;
};

// Reads a file's bytes in the order of the file, in pieces of any size.
class IniTextReader {
public:
    // `expectedBytes` (the file's size, when known) lets the text be held without growing.
    explicit IniTextReader(IniDecoders decoders, std::uint64_t expectedBytes = 0);
    void Add(std::string_view bytes);
    [[nodiscard]] IniText Finish();

private:
    enum class Encoding { Unknown, Ansi, Utf8, Utf16Le, Utf16Be };
    void ChooseEncoding(bool atEnd);
    void DecodePending(bool atEnd);
    void AddText(std::wstring_view text);
    void AddLine(std::wstring_view line);
    void StartSection(std::wstring_view name);
    void AddEntry(std::wstring_view line);

    IniDecoders decoders_;
    std::uint64_t expectedBytes_ = 0;
    Encoding encoding_ = Encoding::Unknown;
    bool anyBytes_ = false;
    std::string pendingBytes_; // bytes not yet decoded
    std::wstring decoded_;     // the text of the bytes just decoded
    std::wstring pendingLine_; // the start of a line whose end has not come yet
    enum class Previous { None, Named, Unnamed } previous_ = Previous::None; // the section's last entry
    IniText text_;
};

// The whole file at once.
[[nodiscard]] IniText ParseIniText(std::string_view bytes, const IniDecoders& decoders);

} // namespace vantrel
