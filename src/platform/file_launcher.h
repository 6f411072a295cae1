#pragma once
// What the file properties dialog starts: a program through the shell, Explorer, and the shell's Properties
// sheet of an item. Tests script it; WinFileLauncher does it.
#include <windows.h>

#include <string_view>

namespace vantrel {

class FileLauncher {
public:
    virtual ~FileLauncher() = default;
    // ShellExecute with `verb` ("open" or "runas"), shown normally, no owner, no folder.
    virtual void Launch(std::wstring_view verb, std::wstring_view program, std::wstring_view parameters) = 0;
    // Runs an Explorer command line, shown normally.
    virtual void Explorer(std::wstring_view commandLine) = 0;
    // The shell's Properties sheet of the item, on the page named (empty: "security"), `owner` disabled
    // meanwhile.
    virtual void ShowProperties(std::wstring_view path, HWND owner, std::wstring_view page) = 0;
};

class WinFileLauncher final : public FileLauncher {
public:
    void Launch(std::wstring_view verb, std::wstring_view program, std::wstring_view parameters) override;
    void Explorer(std::wstring_view commandLine) override;
    void ShowProperties(std::wstring_view path, HWND owner, std::wstring_view page) override;
};

} // namespace vantrel
