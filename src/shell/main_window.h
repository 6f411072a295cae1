#pragma once
// The main window: the MDI frame that holds every view window.
#include "ui/base_window.h"

#include <memory>
#include <string_view>

namespace vantrel {

inline constexpr std::wstring_view kAppTitle = L"Vantrel";
inline constexpr const wchar_t* kMainWindowClass = L"VantrelMainWindow";

class MainWindow : public BaseWindow<MainWindow> {
public:
    // Creates the (hidden) frame with its MDI client; nullptr when Windows refuses.
    static std::unique_ptr<MainWindow> Create(HINSTANCE instance);
    ~MainWindow();

    HWND mdiClient() const { return mdiClient_; }

    // Hands the messages of the frame's accelerators (Ctrl+F4, Ctrl+F6 for the view windows) to the MDI
    // client; true when the message was used.
    bool TranslateFrameMessage(MSG& message) const;

private:
    friend class BaseWindow<MainWindow>;
    MainWindow() = default;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnDestroy();
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND mdiClient_ = nullptr;
};

} // namespace vantrel
