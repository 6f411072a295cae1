#include "platform/win_ini_files.h"

#include <windows.h>

#include <functional>

namespace vantrel {
namespace {

constexpr DWORD kFirstBufferChars = 32768;
constexpr DWORD kMaxBufferChars = 64u * 1024 * 1024;

// Calls a profile function that fills a list of NUL-terminated strings, growing the buffer while the
// function reports that the list did not fit (it then returns the buffer size less 2).
std::vector<std::wstring> ReadList(const std::function<DWORD(wchar_t*, DWORD)>& read) {
    std::wstring buffer(kFirstBufferChars, L'\0');
    DWORD length = 0;
    for (;;) {
        length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + 2 < buffer.size() || buffer.size() >= kMaxBufferChars)
            break;
        buffer.assign(buffer.size() * 2, L'\0');
    }
    std::vector<std::wstring> items;
    for (size_t start = 0; start < length;) {
        const size_t end = buffer.find(L'\0', start);
        if (end == std::wstring::npos || end == start)
            break;
        items.emplace_back(buffer, start, end - start);
        start = end + 1;
    }
    return items;
}

} // namespace

std::vector<std::wstring> WinIniFiles::SectionNames(std::wstring_view file) {
    const std::wstring path(file);
    return ReadList([&](wchar_t* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesW(buffer, size, path.c_str());
    });
}

std::vector<std::wstring> WinIniFiles::SectionEntries(std::wstring_view file, std::wstring_view section) {
    const std::wstring path(file), name(section);
    return ReadList([&](wchar_t* buffer, DWORD size) {
        return GetPrivateProfileSectionW(name.c_str(), buffer, size, path.c_str());
    });
}

std::wstring WinIniFiles::ReadIniValue(std::wstring_view file, std::wstring_view section,
                                       std::wstring_view key) {
    const std::wstring path(file), name(section), entry(key);
    std::wstring value(4000, L'\0');
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(name.c_str(), entry.c_str(), L"", value.data(),
                                                      static_cast<DWORD>(value.size()), path.c_str());
        // A value that did not fit comes back as the buffer size less 1.
        if (length + 1 < value.size() || value.size() >= kMaxBufferChars) {
            value.resize(length);
            return value;
        }
        value.assign(value.size() * 2, L'\0');
    }
}

WriteResult WinIniFiles::WriteIniValue(std::wstring_view file, std::wstring_view section,
                                       std::wstring_view key, std::wstring_view value) {
    const std::wstring path(file), name(section), entry(key), text(value);
    if (WritePrivateProfileStringW(name.c_str(), entry.c_str(), text.c_str(), path.c_str()) == FALSE)
        return std::unexpected(WriteFailure{static_cast<std::uint32_t>(GetLastError())});
    return {};
}

} // namespace vantrel
