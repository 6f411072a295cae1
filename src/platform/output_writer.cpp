#include "platform/output_writer.h"

#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace vantrel {
namespace {

// WriteFile takes at most 4 GB a call, and a pipe may take less than it is given.
std::uint32_t WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

std::uint32_t WriteToConsole(HANDLE console, std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());
    if (bytes.empty())
        return ERROR_SUCCESS;
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    std::wstring_view rest = text;
    while (!rest.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(rest.size(), 8192));
        if (!WriteConsoleW(console, rest.data(), chunk, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        rest.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

std::uint32_t WriteToHandle(HANDLE handle, std::string_view bytes) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) ? WriteToConsole(handle, bytes) : WriteAll(handle, bytes);
}

} // namespace

std::uint32_t WriteBytesToFile(std::wstring_view path, std::string_view bytes) {
    const UniqueFile file(CreateFileW(std::wstring(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    if (const std::uint32_t error = WriteAll(file.get(), bytes); error != ERROR_SUCCESS)
        return error;
    // A full disk may only show when the cached data goes out.
    return FlushFileBuffers(file.get()) ? ERROR_SUCCESS : GetLastError();
}

std::uint32_t WriteBytesToStandardOutput(std::string_view bytes) {
    const HANDLE inherited = GetStdHandle(STD_OUTPUT_HANDLE);
    if (inherited != nullptr && inherited != INVALID_HANDLE_VALUE)
        return WriteToHandle(inherited, bytes);
    // A windowed program started from a console has no output of its own: it borrows the console.
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
        return ERROR_INVALID_HANDLE;
    const UniqueFile console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                         nullptr));
    if (!console)
        return ERROR_INVALID_HANDLE;
    return WriteToHandle(console.get(), bytes);
}

} // namespace vantrel
