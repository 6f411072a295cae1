#include "platform/msi_package.h"

#include "platform/unique_handle.h"

#include <msi.h>
#include <msiquery.h>
#include <wtypes.h> // the VT_ types of summary values

#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>

namespace vantrel {
namespace {

struct MsiHandleTraits {
    using Handle = MSIHANDLE;
    static Handle Invalid() { return 0; }
    static void Close(Handle h) { MsiCloseHandle(h); }
};
using UniqueMsiHandle = UniqueAny<MsiHandleTraits>;

// What the row's package has opened so far: its summary information and its database, each opened on first
// use. A failed open is kept as well: the row's other columns would fail the same way, and a folder of broken
// packages should not cost one open per cell.
struct OpenPackage {
    std::wstring path;
    bool summaryTried = false;
    UniqueMsiHandle summary;
    bool databaseTried = false;
    UniqueMsiHandle database;
};
// Only our own state carries this deleter, which tells it apart from whatever another reader left in the
// row's cache.
struct OpenPackageDeleter {
    void operator()(OpenPackage* package) const { delete package; }
};

OpenPackage& CachedPackage(std::wstring_view path, RowFileCache& cache) {
    if (std::get_deleter<OpenPackageDeleter>(cache.state) != nullptr) {
        auto* package = static_cast<OpenPackage*>(cache.state.get());
        if (package->path == path)
            return *package;
    }
    auto package =
        std::shared_ptr<OpenPackage>(new OpenPackage{.path = std::wstring(path)}, OpenPackageDeleter{});
    cache.state = package;
    return *package;
}

MSIHANDLE CachedSummary(std::wstring_view path, RowFileCache& cache) {
    OpenPackage& package = CachedPackage(path, cache);
    if (!std::exchange(package.summaryTried, true) &&
        MsiGetSummaryInformationW(0, package.path.c_str(), 0, package.summary.put()) != ERROR_SUCCESS)
        package.summary.reset();
    return package.summary.get();
}

MSIHANDLE CachedDatabase(std::wstring_view path, RowFileCache& cache) {
    OpenPackage& package = CachedPackage(path, cache);
    if (!std::exchange(package.databaseTried, true) &&
        MsiOpenDatabaseW(package.path.c_str(), MSIDBOPEN_READONLY, package.database.put()) != ERROR_SUCCESS)
        package.database.reset();
    return package.database.get();
}

// Calls `read(buffer, &count)` once more with a buffer of the size it asked for when the first was too
// small; the text read, or nothing when the call failed.
template <typename Read> std::optional<std::wstring> ReadText(Read read) {
    std::wstring text(128, L'\0');
    DWORD count = static_cast<DWORD>(text.size());
    UINT status = read(text.data(), &count);
    if (status == ERROR_MORE_DATA) {
        text.resize(count + 1);
        count = static_cast<DWORD>(text.size());
        status = read(text.data(), &count);
    }
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(count);
    return text;
}

// The package's dates the way the program writes every time, in local time, to the second.
std::wstring LocalTimeText(const FILETIME& time) {
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &fields))
        return {};
    wchar_t text[32]{};
    std::swprintf(text, std::size(text), L"%u/%02u/%02u, %02u:%02u:%02u", fields.wYear, fields.wMonth,
                  fields.wDay, fields.wHour, fields.wMinute, fields.wSecond);
    return text;
}

} // namespace

std::wstring MsiSummaryProperty(std::wstring_view path, int number, RowFileCache& cache) {
    const MSIHANDLE summary = CachedSummary(path, cache);
    if (summary == 0 || number < 0)
        return {};
    UINT type = VT_EMPTY;
    INT value = 0;
    FILETIME time{};
    const auto text = ReadText([&](wchar_t* buffer, DWORD* count) {
        return MsiSummaryInfoGetPropertyW(summary, static_cast<UINT>(number), &type, &value, &time, buffer,
                                          count);
    });
    if (!text)
        return {};
    switch (type) {
    case VT_LPSTR:
        return *text;
    case VT_I2:
    case VT_I4:
        return std::to_wstring(value);
    case VT_FILETIME:
        return LocalTimeText(time);
    default:
        return {};
    }
}

std::wstring MsiTableProperty(std::wstring_view path, std::wstring_view property, RowFileCache& cache) {
    // Property names are identifiers; a quote could only come from a view definition trying to end the
    // query's text early.
    if (property.find(L'\'') != std::wstring_view::npos)
        return {};
    const std::wstring query =
        L"SELECT `Value` FROM `Property` WHERE `Property` = '" + std::wstring(property) + L"' ";
    const MSIHANDLE database = CachedDatabase(path, cache);
    UniqueMsiHandle view;
    UniqueMsiHandle record;
    if (database == 0 || MsiDatabaseOpenViewW(database, query.c_str(), view.put()) != ERROR_SUCCESS ||
        MsiViewExecute(view.get(), 0) != ERROR_SUCCESS)
        return {};
    const UINT fetched = MsiViewFetch(view.get(), record.put());
    MsiViewClose(view.get());
    if (fetched != ERROR_SUCCESS)
        return {};
    return ReadText([&](wchar_t* buffer, DWORD* count) {
               return MsiRecordGetStringW(record.get(), 1, buffer, count);
           })
        .value_or(std::wstring());
}

} // namespace vantrel
