#include "platform/program_info.h"

#include "platform/win_ini_files.h"
#include "views/text.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <vector>

namespace vantrel {
namespace {

using VersionResource = std::vector<std::byte>;

std::optional<VersionResource> ReadVersionResource(std::wstring_view path) {
    const std::wstring file(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    VersionResource resource(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, resource.data()))
        return std::nullopt;
    return resource;
}

std::optional<std::wstring> StringValue(const VersionResource& resource, const std::wstring& block) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource.data(), (L"\\StringFileInfo\\" + block + L"\\FileDescription").c_str(),
                        &value, &length) ||
        value == nullptr)
        return std::nullopt;
    return std::wstring(static_cast<const wchar_t*>(value));
}

// The string blocks in the order a reader of the raw resource meets them: the declared translations first,
// then the two usual English blocks for programs whose translation table is missing or wrong.
std::vector<std::wstring> StringBlocks(const VersionResource& resource) {
    std::vector<std::wstring> blocks;
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(resource.data(), L"\\VarFileInfo\\Translation", &value, &length) && value != nullptr) {
        const auto* pairs = static_cast<const WORD*>(value);
        for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) {
            wchar_t block[16]{};
            std::swprintf(block, std::size(block), L"%04X%04X", pairs[i], pairs[i + 1]);
            blocks.emplace_back(block);
        }
    }
    blocks.emplace_back(L"040904B0");
    blocks.emplace_back(L"040904E4");
    return blocks;
}

std::wstring Description(const VersionResource& resource) {
    for (const std::wstring& block : StringBlocks(resource))
        if (auto description = StringValue(resource, block))
            return *std::move(description);
    return {};
}

// Old setup programs carry no description; their title is in the setup files beside them.
std::wstring SetupTitle(std::wstring_view path) {
    const std::wstring base(path.substr(0, path.size() - 3)); // "...\setup."
    WinIniFiles ini;
    std::wstring title = ini.ReadIniValue(base + L"ini", L"StartUp", L"AppName");
    if (title.empty())
        title = ini.ReadIniValue(base + L"ini", L"StartUp", L"Product");
    if (title.empty())
        title = ini.ReadIniValue(base + L"lst", L"NT Intel Params", L"WndTitle");
    return title;
}

} // namespace

ProgramFile::ProgramFile(std::wstring_view path) : path_(path), resource_(ReadVersionResource(path)) {}

std::wstring ProgramFile::Title() const {
    if (LowerCase(FileNameOf(path_)) == L"setup.exe")
        return SetupTitle(path_);
    return resource_ ? Description(*resource_) : std::wstring();
}

std::wstring ProgramFile::Version() const {
    if (!resource_)
        return {};
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource_->data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    // Garbage where the fixed part should be is no version, however its numbers read.
    if (fixed->dwSignature != static_cast<DWORD>(VS_FFI_SIGNATURE))
        return {};
    wchar_t version[64]{};
    std::swprintf(version, std::size(version), L"%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS));
    return version;
}

} // namespace vantrel
