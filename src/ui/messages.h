#pragma once
// Message boxes with the program's title. Windows and dialogs show them through this, so tests can answer
// in place of a person.
#include <windows.h>

#include <string_view>

namespace vantrel {

class Messages {
public:
    virtual ~Messages() = default;
    // `buttons` and the answer as MessageBox has them.
    virtual int Message(HWND owner, std::wstring_view text, UINT buttons) = 0;
    // The same under a title of its own.
    virtual int TitledMessage(HWND owner, std::wstring_view text, std::wstring_view title, UINT buttons) {
        (void)title;
        return Message(owner, text, buttons);
    }
};

} // namespace vantrel
