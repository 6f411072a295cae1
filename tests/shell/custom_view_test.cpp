// Custom view files from the main window: saving a view, and opening it again from the menu, the command
// language and the file name.
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"
#include "views/catalogue.h"
#include "views/custom_view_file.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;
constexpr auto HKLM = RootKey::LocalMachine;

class CustomViewTest : public MainWindowFixture {
protected:
    CustomViewTest() {
        wchar_t temp[MAX_PATH]{};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"vantrel kvf test\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < 3; ++i) {
            const std::wstring key = L"System\\CurrentControlSet\\Services\\Svc" + std::to_wstring(i);
            memory.SetString(L"", HKLM, key, L"DisplayName", L"Service " + std::to_wstring(i));
            memory.SetDword(L"", HKLM, key, L"Type", 16);
        }
        ShowMain();
    }
    ~CustomViewTest() override {
        for (const std::wstring& file : created)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    ViewForm* Filled(ViewForm* form) {
        if (form != nullptr)
            form->FillNow();
        return form;
    }
    // Saves the active view under `name` in the test folder; the profile functions are in memory here, so an
    // empty file stands on disk for the one they wrote.
    std::wstring SaveActiveAs(const std::wstring& name) {
        const std::wstring path = folder + name;
        CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        created.push_back(path);
        prompter.fileDialogAnswer = path;
        SendMessageW(main->hwnd(), WM_COMMAND, IDM_SAVE_AS, 0);
        return path;
    }
    static ViewHead Untitled(ViewHead head) {
        head.title.clear();
        return head;
    }

    std::wstring folder;
    std::vector<std::wstring> created;
};

TEST_F(CustomViewTest, ARegistryViewSavedOpensAgainWithTheSameDefinition) {
    ViewForm* services = Filled(main->NewView(L"", L"8", L""));
    ASSERT_NE(services, nullptr);
    const std::wstring caption = services->CaptionText();
    const std::wstring path = SaveActiveAs(L"services.kvf");

    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    const FileDialogRequest& request = prompter.fileDialogs[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, L"Save custom view");
    EXPECT_EQ(request.defaultExtension, L"kvf");
    EXPECT_EQ(request.filter, L"Vantrel custom views (*.kvf)|*.kvf|All files (*.*)|*.*");
    EXPECT_EQ(request.fileName, ProposedCustomViewName(L"", caption));
    EXPECT_EQ(services->CaptionText(), L"Custom view: services.kvf");
    EXPECT_EQ(services->view().customFile, path);
    EXPECT_EQ(main->viewFolder(), folder); // the next dialog starts where this one ended

    ASSERT_TRUE(main->LinkExecute(L"[Open \"" + path + L"\"]"));
    ViewForm* opened = main->ActiveView();
    ASSERT_NE(opened, services);
    EXPECT_EQ(opened->view().viewKind, ViewKind::CustomFile);
    EXPECT_TRUE(opened->CaptionText().starts_with(L"Custom view: services.kvf"));
    const ViewDefinition& saved = services->view().columns;
    const ViewDefinition& read = opened->view().columns;
    EXPECT_EQ(read.head, Untitled(saved.head));
    for (int i = 0; !saved.column(i).data.empty(); ++i) {
        EXPECT_EQ(read.column(i).data, saved.column(i).data);
        EXPECT_EQ(read.column(i).header, saved.column(i).header);
        EXPECT_EQ(read.column(i).condition, saved.column(i).condition);
        EXPECT_NEAR(read.column(i).widthTwips, saved.column(i).widthTwips, opened->view().twipsPerPixel());
    }
    EXPECT_EQ(opened->view().grid.TextMatrix(1, 1), L"Service 0");

    // Saved again, a custom view proposes its own file.
    SaveActiveAs(L"services copy.kvf");
    EXPECT_EQ(prompter.fileDialogs.back().fileName, path);
    EXPECT_EQ(prompter.fileDialogs.back().folder, folder);
}

TEST_F(CustomViewTest, AFolderViewKeepsItsFolderInTheFile) {
    ViewForm* contents = Filled(main->OpeniniFile(folder, true));
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(contents->view().definition, BuiltInView(98, false));
    const std::wstring base = contents->view().columns.head.base;
    EXPECT_TRUE(base.starts_with(folder));
    const std::wstring path = SaveActiveAs(L"contents.kvf");
    EXPECT_EQ(contents->CaptionText(), L"Custom view: contents.kvf");

    prompter.fileDialogAnswer = path;
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_OPEN_CUSTOM, 0);
    EXPECT_EQ(prompter.fileDialogs.back().title, L"Open custom view");
    EXPECT_FALSE(prompter.fileDialogs.back().save);
    ViewForm* opened = Filled(main->ActiveView());
    ASSERT_NE(opened, contents);
    EXPECT_EQ(opened->view().viewKind, ViewKind::CustomFile);
    EXPECT_EQ(opened->view().columns.head.base, base);
    EXPECT_EQ(opened->view().folderPath, folder);
    EXPECT_TRUE(opened->CaptionText().starts_with(L"Custom view: contents.kvf"));

    prompter.fileDialogAnswer.clear(); // cancelled: nothing opens, nothing is written
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_OPEN_CUSTOM, 0);
    EXPECT_EQ(main->ActiveView(), opened);
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_SAVE_AS, 0);
    EXPECT_TRUE(prompter.fileDialogs.back().save);
    EXPECT_EQ(opened->view().customFile, path);
    EXPECT_EQ(ini.files.count(folder + L"untitled"), 0u);
}

} // namespace
} // namespace vantrel::test
