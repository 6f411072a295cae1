#pragma once
// Registry export files (.reg), as `regedit /e` and `reg export` write them: keys in brackets, then their
// values as quoted texts, dword: numbers and hex: bytes. The reader hands every key and value to a sink with
// the data the registry held (texts as UTF-16LE with their terminating zero), and touches no registry itself.
#include "sources/registry_api.h"

#include <cstddef>
#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

class RegFileSink {
public:
    virtual ~RegFileSink() = default;
    // Before the first key: how many characters the file's text has, for a sink that makes room at once.
    virtual void Expect(std::size_t textLength) { (void)textLength; }
    // A key's section starts; the values that follow are its own. `root` is never FromPath; `path` is
    // relative to it (empty for the root itself) and has no empty level.
    virtual void Key(RootKey root, std::wstring_view path) = 0;
    // A value of the key of the last Key call; the empty name is the default value.
    virtual void Value(std::wstring_view name, std::uint32_t type, std::span<const std::uint8_t> data) = 0;
};

// Why a file cannot be read, and where.
struct RegFileError {
    std::size_t line = 0; // counted from 1
    std::wstring problem;

    bool operator==(const RegFileError&) const = default;
};

// "line 12: " + the problem.
std::wstring DescribeRegFileError(const RegFileError& error);

// Reads a whole export file, its bytes as they are on disk. Sections of deleted keys ("[-...]") and of roots
// the program does not read (HKEY_CURRENT_CONFIG, HKEY_DYN_DATA) are passed over, and so are value deletions
// ("name"=-). The first line that is not what an export holds stops the reading with its error; the sink
// has then seen what came before it.
[[nodiscard]] std::expected<void, RegFileError> ReadRegFile(std::span<const std::uint8_t> bytes,
                                                            RegFileSink& sink);

} // namespace vantrel
