// Ping.exe for the tests: answers like the ping program, by exit code, but sends nothing anywhere. Built
// beside the test programs, it is the "Ping.exe" a program there finds first.
//
// Called as "Ping.exe -n 1 -w <ms> <NAME>"; only the last argument, the computer's name, matters. Its files
// lie beside it:
//   ping_answers.txt  written by the test, one line per computer: "NAME CODE", "NAME CODE hold" or
//                     "NAME CODE delay MS", separated by blanks, in ASCII. Names match without regard to
//                     case; the first matching line counts; a computer not listed answers 1 (no reply). With
//                     "hold" the stand-in waits until ping_release.txt exists beside it, then answers CODE
//                     (after 60 s it gives up and answers 1). With "delay MS" it answers CODE after MS
//                     milliseconds, as a computer that does not answer keeps the real ping waiting for its
//                     whole timeout.
//   ping_calls.txt    every call appends its whole command line and CR LF, in UTF-8.
#include <windows.h>

#include <cwctype>
#include <sstream>
#include <string>

namespace {

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH]{};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self(path, length);
    return self.substr(0, self.find_last_of(L'\\') + 1);
}

std::string ReadFileText(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

void AppendCall(const std::wstring& path, const std::wstring& commandLine) {
    std::string line(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, commandLine.data(),
                                                             static_cast<int>(commandLine.size()), nullptr, 0,
                                                             nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, commandLine.data(), static_cast<int>(commandLine.size()), line.data(),
                        static_cast<int>(line.size()), nullptr, nullptr);
    line += "\r\n";
    // Several stand-ins may run at once: appending in one write keeps their lines whole.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(10);
            continue;
        }
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
        return;
    }
}

bool SameName(const std::string& listed, const std::wstring& name) {
    if (listed.size() != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::towupper(static_cast<unsigned char>(listed[i])) != std::towupper(name[i]))
            return false;
    return true;
}

void WaitForRelease(const std::wstring& releasePath, int& code) {
    const ULONGLONG giveUp = GetTickCount64() + 60'000;
    while (GetFileAttributesW(releasePath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > giveUp) {
            code = 1;
            return;
        }
        Sleep(10);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = OwnFolder();
    AppendCall(folder + L"ping_calls.txt", GetCommandLineW());
    if (argc < 2)
        return 1;
    const std::wstring name = argv[argc - 1];

    std::istringstream answers(ReadFileText(folder + L"ping_answers.txt"));
    for (std::string line; std::getline(answers, line);) {
        std::istringstream fields(line);
        std::string listed, how;
        int code = 1;
        if (!(fields >> listed >> code) || !SameName(listed, name))
            continue;
        if (fields >> how) {
            if (how == "hold")
                WaitForRelease(folder + L"ping_release.txt", code);
            else if (DWORD milliseconds = 0; how == "delay" && fields >> milliseconds)
                Sleep(milliseconds);
        }
        return code;
    }
    return 1;
}
