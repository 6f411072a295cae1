#pragma once
// A launcher that starts nothing and remembers what it was asked to start.
#include "platform/file_launcher.h"

#include <string>
#include <vector>

namespace vantrel::test {

class RecordingLauncher final : public FileLauncher {
public:
    void Launch(std::wstring_view verb, std::wstring_view program, std::wstring_view parameters) override {
        launches.push_back({std::wstring(verb), std::wstring(program), std::wstring(parameters)});
    }
    void Explorer(std::wstring_view commandLine) override { explorerLines.emplace_back(commandLine); }
    void ShowProperties(std::wstring_view path, HWND, std::wstring_view) override {
        propertySheets.emplace_back(path);
    }

    std::vector<std::vector<std::wstring>> launches; // verb, program, parameters
    std::vector<std::wstring> explorerLines;
    std::vector<std::wstring> propertySheets;
};

} // namespace vantrel::test
