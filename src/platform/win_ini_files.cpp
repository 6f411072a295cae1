#include "platform/win_ini_files.h"

#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace vantrel {
namespace {

// A huge file is read in pieces of this size, messages running between them.
constexpr DWORD kPieceBytes = 4u * 1024 * 1024;

void DecodeWith(UINT codePage, std::string_view bytes, std::wstring& text) {
    if (bytes.empty())
        return;
    const int count = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0);
    const size_t at = text.size();
    text.resize(at + static_cast<size_t>(length));
    MultiByteToWideChar(codePage, 0, bytes.data(), count, text.data() + at, length);
}

// The file the profile functions would read: a bare file name lies in the Windows folder, any other name
// is made a full path.
std::wstring FullIniPath(std::wstring_view file) {
    const std::wstring name(file.substr(0, file.find(L'\0')));
    const bool bare =
        name.find_first_of(L"\\/") == std::wstring::npos && !(name.size() >= 2 && name[1] == L':');
    if (bare) {
        wchar_t folder[MAX_PATH]{};
        GetWindowsDirectoryW(folder, MAX_PATH);
        return std::wstring(folder) + L"\\" + name;
    }
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return name;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.assign(length, L'\0');
    }
}

std::uint64_t Joined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The whole file through the reader; nothing when `keepGoing` said to stop. A file that cannot be opened or
// read has no sections, as for the profile functions.
std::optional<IniText> ReadIniFile(const std::wstring& path, std::uint64_t sizeBytes,
                                   const std::function<bool()>& keepGoing) {
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return IniText();
    IniTextReader reader(SystemIniDecoders(), sizeBytes);
    std::string piece(static_cast<size_t>(std::min<std::uint64_t>(sizeBytes + 1, kPieceBytes)), '\0');
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr))
            return IniText();
        if (read == 0)
            break;
        reader.Add(std::string_view(piece).substr(0, read));
        if (keepGoing && !keepGoing())
            return std::nullopt;
    }
    return reader.Finish();
}

} // namespace

IniDecoders SystemIniDecoders() {
    return {[](std::string_view bytes, std::wstring& text) { DecodeWith(CP_ACP, bytes, text); },
            [](std::string_view bytes, std::wstring& text) {
                DecodeWith(CP_UTF8, bytes, text);
            }};
}

const IniText* WinIniFiles::TextOf(std::wstring_view file, const std::function<bool()>& keepGoing) {
    static const IniText kNoText;
    std::wstring path = FullIniPath(file);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return &kNoText;
    const std::uint64_t size = Joined(data.nFileSizeHigh, data.nFileSizeLow);
    const std::uint64_t written =
        Joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    if (held_ && held_->path == path && held_->sizeBytes == size && held_->lastWriteTime == written)
        return &held_->text;
    held_.reset(); // one file's text in memory at a time, also while the next is read
    std::optional<IniText> text = ReadIniFile(path, size, keepGoing);
    if (!text)
        return nullptr;
    held_ = HeldFile{std::move(path), size, written, std::move(*text)};
    return &held_->text;
}

const IniText& WinIniFiles::TextOf(std::wstring_view file) {
    return *TextOf(file, nullptr);
}

bool WinIniFiles::ReadAhead(std::wstring_view file, const std::function<bool()>& keepGoing) {
    return TextOf(file, keepGoing) != nullptr;
}

std::vector<std::wstring> WinIniFiles::SectionNames(std::wstring_view file) {
    return TextOf(file).SectionNames();
}

std::vector<std::wstring> WinIniFiles::SectionEntries(std::wstring_view file, std::wstring_view section) {
    return TextOf(file).SectionEntries(section);
}

std::wstring WinIniFiles::ReadIniValue(std::wstring_view file, std::wstring_view section,
                                       std::wstring_view key) {
    return TextOf(file).Value(section, key);
}

WriteResult WinIniFiles::WriteIniValue(std::wstring_view file, std::wstring_view section,
                                       std::wstring_view key, std::wstring_view value) {
    held_.reset();
    const std::wstring path(file), name(section), entry(key), text(value);
    if (WritePrivateProfileStringW(name.c_str(), entry.c_str(), text.c_str(), path.c_str()) == FALSE)
        return std::unexpected(WriteFailure{static_cast<std::uint32_t>(GetLastError())});
    return {};
}

} // namespace vantrel
