// Custom view files from the main window: saving a view, and opening it again from the menu, the command
// language and the file name.
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"
#include "support/temp_folder.h"
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
        folder = TempFolder(L"vantrel kvf test") + L"\\";
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
}

TEST_F(CustomViewTest, ADamagedFileOpensWithTheColumnsMessage) {
    const std::wstring path = folder + L"damaged.kvf";
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    created.push_back(path);
    ini.files[path] = {{L"Other", {L"XKey=Software", L"ColsOrder=01"}}}; // no [Main]
    ViewForm* opened = Filled(main->OpeniniFile(path, false));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(prompter.messages, (std::vector<std::wstring>{L"Unexpected 423 Columnstring error"}));
    EXPECT_TRUE(opened->view().columns.column(0).data.empty()); // no columns, and no crash
}

TEST_F(CustomViewTest, EditingAViewFillsItAgainFromTheEditedDefinition) {
    ViewForm* services = Filled(main->NewView(L"", L"8", L""));
    ASSERT_NE(services, nullptr);
    const std::wstring caption = services->CaptionText();
    prompter.editView = [](ViewEditRequest& request) {
        request.definition.head.colsOrder = L"01";
        request.definition.column(1) = {100 * kTwipsPerPixelAt96Dpi, L"Type", L"Kind", L"", L""};
        return true;
    };
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_EDIT_CUSTOM, 0);
    ASSERT_EQ(prompter.editRequests.size(), 1u);
    EXPECT_EQ(prompter.editRequests[0].viewCaption, caption);
    EXPECT_FALSE(prompter.editRequests[0].newView);
    EXPECT_EQ(services->view().grid.TextMatrix(0, 2), L"Kind");
    EXPECT_EQ(services->view().grid.TextMatrix(1, 2), L"16");
    EXPECT_EQ(services->view().customFile, L"Untitled");
    EXPECT_EQ(services->CaptionText(), L"Edited - " + caption);

    SendMessageW(main->hwnd(), WM_COMMAND, IDM_EDIT_CUSTOM, 0); // an edited caption is not changed again
    EXPECT_EQ(services->CaptionText(), L"Edited - " + caption);

    prompter.editView = nullptr; // cancelled: the view stays as it is
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_EDIT_CUSTOM, 0);
    EXPECT_EQ(services->view().grid.TextMatrix(0, 2), L"Kind");
}

TEST_F(CustomViewTest, IniTablesAndClassListsAreNotEditedAsTheyAre) {
    const std::wstring file = folder + L"table.ini";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    created.push_back(file);
    ASSERT_NE(Filled(main->OpeniniFile(file, false)), nullptr);
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_EDIT_CUSTOM, 0);
    EXPECT_EQ(prompter.messages, (std::vector<std::wstring>{L"Sorry, this view cannot be edited."}));
    EXPECT_TRUE(prompter.editRequests.empty());

    ViewForm* classes = Filled(main->OpenView({.kind = ViewKind::ClassList}));
    ASSERT_NE(classes, nullptr);
    prompter.messageAnswer = IDNO;
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_EDIT_CUSTOM, 0);
    EXPECT_EQ(prompter.messages.back(),
              L"Sorry, this view cannot be edited.\rSwitch to a new view on Class-ID's?");
    EXPECT_TRUE(prompter.editRequests.empty());
    prompter.messageAnswer = IDYES;
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_EDIT_CUSTOM, 0);
    EXPECT_EQ(prompter.editRequests.size(), 1u);
    EXPECT_EQ(classes->view().viewKind, ViewKind::Registry);
}

TEST_F(CustomViewTest, ANewDesignOpensAsAnUntitledView) {
    prompter.editView = [](ViewEditRequest& request) {
        EXPECT_TRUE(request.newView);
        request.definition = ParseDefinition(
            L"System\\CurrentControlSet\\Services,01,01,,|80,<key>,Name|100,DisplayName,Shown as",
            kTwipsPerPixelAt96Dpi);
        return true;
    };
    prompter.newViewChoice = NewViewChoice{1, 8};
    main->OpenNewViewDialog();
    ViewForm* designed = Filled(main->ActiveView());
    ASSERT_NE(designed, nullptr);
    EXPECT_EQ(designed->view().customFile, L"Untitled");
    EXPECT_TRUE(designed->CaptionText().starts_with(L"Untitled view"));
    EXPECT_EQ(designed->view().grid.TextMatrix(1, 2), L"Service 0");

    prompter.editView = nullptr; // cancelled: nothing opens
    main->OpenNewViewDialog();
    EXPECT_EQ(main->ActiveView(), designed);
}

// A file that cannot be written is reported in the system's words, and the view stays what it was.
TEST_F(CustomViewTest, ASaveThatCannotBeWrittenIsReported) {
    ViewForm* form = Filled(main->NewView(L"", L"8", L""));
    ASSERT_NE(form, nullptr);
    const std::wstring caption = form->CaptionText();
    ini.writeFailure = ERROR_ACCESS_DENIED;
    const std::wstring path = SaveActiveAs(L"locked.kvf");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].starts_with(L"Could not save " + path + L": ")) << prompter.messages[0];
    EXPECT_GT(prompter.messages[0].size(), (L"Could not save " + path + L": ").size());
    EXPECT_EQ(form->CaptionText(), caption);
    EXPECT_TRUE(form->view().GetModeCus().empty());

    ini.writeFailure = 0;
    SaveActiveAs(L"saved.kvf");
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(form->CaptionText(), L"Custom view: saved.kvf");
}

} // namespace
} // namespace vantrel::test
