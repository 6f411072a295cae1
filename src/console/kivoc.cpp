// kivoc.exe: Vantrel's commands from a console or a script, with no window at all.
#include "console/console_services.h"
#include "console/headless_session.h"
#include "sources/unicode_text.h"
#include "platform/output_writer.h"

#include <objbase.h>
#include <windows.h>

#include <deque>
#include <string>

namespace {

constexpr int kCommandFailed = 1;
constexpr int kWrongCommandLine = 2;

// The views' file properties may read through COM. A multithreaded apartment, because a single-threaded one
// brings a hidden window with it, and kivoc has none.
class MultithreadedApartment {
public:
    MultithreadedApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~MultithreadedApartment() {
        if (initialized_)
            CoUninitialize();
    }
    MultithreadedApartment(const MultithreadedApartment&) = delete;
    MultithreadedApartment& operator=(const MultithreadedApartment&) = delete;

private:
    bool initialized_;
};

bool IsHelpOption(std::wstring_view argument) {
    return argument == L"--help" || argument == L"-h" || argument == L"/?" || argument == L"-?";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::deque<std::wstring> answers;
    std::wstring commands;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view argument = argv[i];
        if (IsHelpOption(argument)) {
            (void)vantrel::WriteBytesToStandardOutput(vantrel::ToUtf8(vantrel::KivocUsage()));
            return 0;
        }
        if (argument == L"--answer") {
            if (++i == argc) {
                vantrel::ErrorLine(L"--answer needs a text");
                return kWrongCommandLine;
            }
            answers.emplace_back(argv[i]);
            continue;
        }
        commands += (commands.empty() ? L"" : L" ") + std::wstring(argument);
    }
    if (commands.empty()) {
        vantrel::ErrorLine(vantrel::KivocUsage());
        return kWrongCommandLine;
    }
    const MultithreadedApartment com;
    vantrel::ConsoleServices services;
    vantrel::ConsoleDialogue dialogue(std::move(answers));
    vantrel::HeadlessSession session(services.ForViews(), dialogue);
    return session.Run(commands) ? 0 : kCommandFailed;
}
