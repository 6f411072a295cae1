#pragma once
// The main window: the MDI frame that holds every view window.
#include "shell/view_form.h"
#include "shell/view_owner.h"
#include "ui/base_window.h"

#include <memory>
#include <string_view>

namespace vantrel {

inline constexpr std::wstring_view kAppTitle = L"Vantrel";
inline constexpr const wchar_t* kMainWindowClass = L"VantrelMainWindow";

class MainWindow : public BaseWindow<MainWindow>, private ViewOwner {
public:
    // Creates the (hidden) frame with its MDI client; nullptr when Windows refuses. The services and the
    // prompter must outlive the window.
    static std::unique_ptr<MainWindow> Create(HINSTANCE instance, const ViewServices& services,
                                              Prompter& prompter);
    ~MainWindow();

    HWND mdiClient() const { return mdiClient_; }

    // A new view window, shown; it fills itself once it is up. nullptr when Windows refuses.
    ViewForm* OpenView(const ViewOpening& opening);

    // Hands the messages of the frame's accelerators (Ctrl+F4, Ctrl+F6 for the view windows) to the MDI
    // client; true when the message was used.
    bool TranslateFrameMessage(MSG& message) const;

private:
    friend class BaseWindow<MainWindow>;
    MainWindow(const ViewServices& services, Prompter& prompter) : services_(services), prompter_(prompter) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    bool OnClose();
    void OnDestroy();
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) const;

    // ViewOwner
    int ListMode() const override { return listMode_; }
    bool MarkOption() const override { return markOption_; }
    std::wstring StartFile() const override { return startFile_; }
    void ShowCancelCommand(bool) override {}
    void FillEnded() override;

    ViewServices services_;
    Prompter& prompter_;
    HWND mdiClient_ = nullptr;
    int listMode_ = 0;
    bool markOption_ = false;
    std::wstring startFile_;
    bool closeWhenFillsEnd_ = false;
};

} // namespace vantrel
