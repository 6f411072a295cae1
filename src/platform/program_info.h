#pragma once
// What a program file (.exe, .dll, .sys) says about itself: its title and its version.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// One program file, its version resource read once for all that is asked of it.
class ProgramFile {
public:
    explicit ProgramFile(std::wstring_view path);
    // The title of an old-style setup.exe from its setup.ini or setup.lst beside it; of any other program
    // its description from the version resource. Empty when there is none.
    std::wstring Title() const;
    // The file version "a.b.c.d" of the version resource; empty when the file has none.
    std::wstring Version() const;

private:
    std::wstring path_;
    std::optional<std::vector<std::byte>> resource_;
};

} // namespace vantrel
