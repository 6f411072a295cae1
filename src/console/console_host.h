#pragma once
// A view as kivoc holds it: no window; what a window would show in a message box is a line on standard error,
// and what it would ask is answered from the "--answer" options, in order.
#include "engine/view.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace vantrel {

// The answers given on the command line, shared by every view of the session, and the lines told.
class ConsoleDialogue {
public:
    explicit ConsoleDialogue(std::deque<std::wstring> answers) : answers_(std::move(answers)) {}

    void Tell(std::wstring_view text);
    // The next answer; nothing when none is left, which fails the command that asked.
    std::optional<std::wstring> Answer(std::wstring_view question);
    // True when a question went unanswered since the last call.
    bool TakeUnanswered() { return std::exchange(unanswered_, false); }

private:
    std::deque<std::wstring> answers_;
    bool unanswered_ = false;
};

class ConsoleHost final : public ViewHost {
public:
    ConsoleHost(ConsoleDialogue& dialogue, std::function<int()> listMode)
        : dialogue_(dialogue), listMode_(std::move(listMode)) {}

    std::wstring Caption() const override { return caption_; }
    void SetCaption(std::wstring_view caption) override { caption_ = caption; }
    void SetBusyPointer(bool) override {}
    void ShowCancelCommand(bool) override {}
    void ShowMessage(std::wstring_view text) override { dialogue_.Tell(text); }
    bool AskYesNo(std::wstring_view text) override;
    std::wstring AskText(std::wstring_view prompt) override;
    void LetEventsRun() override {} // nobody can stop a fill here but the fill itself
    bool IsMaximized() const override { return false; }
    void RestoreSize() override {}
    void FitToTable() override {}
    void Redraw() override {}
    int ListMode() const override { return listMode_(); }
    std::wstring StartFile() const override { return startFile; }

    std::wstring startFile;

private:
    ConsoleDialogue& dialogue_;
    std::function<int()> listMode_;
    std::wstring caption_;
};

// One view of the session with the host it answers to.
struct ConsoleView {
    ConsoleView(const ViewServices& services, ConsoleDialogue& dialogue, std::function<int()> listMode)
        : host(dialogue, std::move(listMode)), view(services, host, kTwipsPerPixel) {}

    static constexpr int kTwipsPerPixel = 15; // a 96 dpi screen, as a window would measure its columns

    ConsoleHost host;
    View view;
};

// Writes a line to standard error in UTF-8.
void ErrorLine(std::wstring_view text);

} // namespace vantrel
