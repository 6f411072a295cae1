// The desktop of the tests' Wine session, run by scripts/wine-session.sh when the test fixture starts it:
//   wine_test_desktop                         keeps the desktop open until the session stops
//   wine_test_desktop --unmanaged <x.exe>...  leaves the top-level windows of those programs unmanaged
// Wine closes a desktop a second after the last program using it has ended. The next program with a window
// then starts it again and waits for it, and the desktop's process holds that program's output open while it
// runs, so ctest waits for it too: a second or two for every test case with a window. Without a window
// manager, Wine waits two seconds for every managed top-level window it hides; the test programs' windows
// need no window manager.
#include <windows.h>

#include <string>
#include <string_view>

int main(int argc, char** argv) {
    // When no program has started the desktop yet, it starts here, with this program's output (none).
    if (GetDesktopWindow() == nullptr)
        return 1;
    if (argc > 1 && std::string_view(argv[1]) == "--unmanaged") {
        for (int i = 2; i < argc; ++i) {
            const std::string key = std::string("Software\\Wine\\AppDefaults\\") + argv[i] + "\\X11 Driver";
            if (RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", REG_SZ, "N", 2) != ERROR_SUCCESS)
                return 1;
        }
        return 0;
    }
    // A window makes this program one of the desktop's users for as long as it runs. A message-only one is
    // never shown and never sees broadcasts.
    if (CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr) ==
        nullptr)
        return 1;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
