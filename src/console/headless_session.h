#pragma once
// kivoc's session: the views a command string opens, without windows, the last one opened the active one.
// The command words do what they do in the main window, through the same rules; the words that need a
// person or a desktop are refused with a line on standard error.
#include "console/console_host.h"
#include "shell/view_opening.h"

#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace vantrel {

class HeadlessSession {
public:
    HeadlessSession(const ViewServices& services, ConsoleDialogue& dialogue)
        : services_(services), dialogue_(dialogue) {}

    // Runs every command of the string; false when any of them failed (each failure told on standard error).
    [[nodiscard]] bool Run(std::wstring_view commands);

    View* ActiveView() const { return views_.empty() ? nullptr : &views_.back()->view; }
    std::wstring ActiveCaption() const { return views_.back()->host.Caption(); }
    size_t ViewCount() const { return views_.size(); }

    struct Word {
        std::wstring_view word;
        bool needsView = false;
        bool (HeadlessSession::*run)(std::wstring_view argument) = nullptr;
    };
    static std::span<const Word> Words();

private:
    bool Open(const ViewOpening& opening);
    bool Refused(std::wstring_view why);
    bool OpenCommand(std::wstring_view file);
    bool OpenInstalledCommand(std::wstring_view computer);
    bool OpenControlsCommand(std::wstring_view computer);
    bool OpenIniTableCommand(std::wstring_view file);
    bool ConnectCommand(std::wstring_view computer);
    bool OutExcelCommand(std::wstring_view);
    bool DetailCommand(std::wstring_view mode);
    bool SetMatchCommand(std::wstring_view column);
    bool SortCommand(std::wstring_view argument);
    bool TransposeCommand(std::wstring_view);
    bool CloseCommand(std::wstring_view);
    bool ExitCommand(std::wstring_view);
    bool OutFileCommand(std::wstring_view path);

    ViewServices services_;
    ConsoleDialogue& dialogue_;
    std::vector<std::unique_ptr<ConsoleView>> views_;
    int listMode_ = 0;
    std::wstring startFile_;
};

// kivoc's usage text.
std::wstring KivocUsage();

} // namespace vantrel
