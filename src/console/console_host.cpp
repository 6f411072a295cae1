#include "console/console_host.h"

#include "sources/unicode_text.h"

#include <windows.h>

namespace vantrel {

void ErrorLine(std::wstring_view text) {
    const std::string bytes = ToUtf8(std::wstring(text) + L"\n");
    DWORD written = 0;
    (void)WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                    nullptr); // nowhere left to tell a failure to
}

void ConsoleDialogue::Tell(std::wstring_view text) {
    ErrorLine(text);
}

std::optional<std::wstring> ConsoleDialogue::Answer(std::wstring_view question) {
    ErrorLine(question);
    if (answers_.empty()) {
        ErrorLine(L"No answer given (--answer)");
        unanswered_ = true;
        return std::nullopt;
    }
    std::wstring answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

// "yes" (or "y", any case) is Yes; any other answer No.
bool ConsoleHost::AskYesNo(std::wstring_view text) {
    const auto answer = dialogue_.Answer(text);
    if (!answer)
        return false;
    const std::wstring lower(CharLowerW(std::wstring(*answer).data()));
    return lower == L"yes" || lower == L"y";
}

std::wstring ConsoleHost::AskText(std::wstring_view prompt) {
    return dialogue_.Answer(prompt).value_or(L"");
}

} // namespace vantrel
