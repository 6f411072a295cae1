#pragma once
// Every modal question the program asks goes through a Prompter, so tests can answer in place of a person.
#include <windows.h>

#include "dialogs/new_view/new_view.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// An open or save dialog: what it starts with, and (after it) where the user went.
struct FileDialogRequest {
    bool save = false;
    std::wstring title;
    std::wstring defaultExtension;
    std::wstring filter;   // "description|pattern|description|pattern"
    std::wstring folder;   // where it starts; the chosen file's folder afterwards
    std::wstring fileName; // preselected; the chosen file's name afterwards
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // A message box with the program's title; `buttons` and the answer as MessageBox has them.
    virtual int Message(HWND owner, std::wstring_view text, UINT buttons) = 0;
    // One line of text to enter; nothing when cancelled.
    virtual std::optional<std::wstring> Input(HWND owner, std::wstring_view prompt,
                                              std::wstring_view initial) = 0;
    // The new-view dialog; nothing when cancelled.
    virtual std::optional<NewViewChoice> ChooseNewView(HWND owner) = 0;
    // The chosen file's full path, or an empty text when cancelled.
    virtual std::wstring FileDialog(HWND owner, FileDialogRequest& request) = 0;
};

// The real dialogs.
class WindowsPrompter final : public Prompter {
public:
    int Message(HWND owner, std::wstring_view text, UINT buttons) override;
    std::optional<std::wstring> Input(HWND owner, std::wstring_view prompt,
                                      std::wstring_view initial) override;
    std::optional<NewViewChoice> ChooseNewView(HWND owner) override;
    std::wstring FileDialog(HWND owner, FileDialogRequest& request) override;
};

} // namespace vantrel
