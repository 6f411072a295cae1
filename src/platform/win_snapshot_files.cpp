#include "platform/win_snapshot_files.h"

#include "platform/unique_handle.h"

#include <algorithm>

namespace vantrel {
namespace {

std::uint64_t Combined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

} // namespace

std::optional<FileStamp> WinSnapshotFiles::Stamp(std::wstring_view path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(std::wstring(path).c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return FileStamp{
        Combined(attributes.nFileSizeHigh, attributes.nFileSizeLow),
        Combined(attributes.ftLastWriteTime.dwHighDateTime, attributes.ftLastWriteTime.dwLowDateTime)};
}

std::expected<std::vector<std::uint8_t>, long> WinSnapshotFiles::ReadAll(std::wstring_view path) {
    // Another program may still have the export open, or be writing its next version.
    const UniqueFile file(CreateFileW(std::wstring(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return std::unexpected(static_cast<long>(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return std::unexpected(static_cast<long>(GetLastError()));
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr))
            return std::unexpected(static_cast<long>(GetLastError()));
        if (read == 0) // the file got shorter meanwhile
            break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

} // namespace vantrel
