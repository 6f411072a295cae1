// The selection form in the main window: what each button of the new-view dialog opens, where the form
// starts and the path it keeps between runs ("MsiPath").
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"
#include "support/temp_folder.h"
#include "views/catalogue.h"

namespace vantrel {
namespace {

const std::wstring kSettings = L"Software\\Ostrand\\Kivo";

class SelectViewTest : public test::MainWindowFixture {
protected:
    SelectViewTest() {
        environment.variables[L"computername"] = L"WS0042";
        ShowMain();
    }

    // The form answers with `contents`: its option, computer and path.
    void Choose(const ViewContents& contents) {
        prompter.chooseContents = [contents](const ViewContents&) {
            return contents;
        };
    }

    const std::wstring folder = test::TempFolder(L"vantrel installs");
};

TEST_F(SelectViewTest, EveryNewViewButtonOpensWhatItSays) {
    const std::wstring iniFile = folder + L"\\setup.ini";
    CloseHandle(CreateFileW(iniFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ini.files[iniFile] = {{L"Setup", {L"Product=Acme"}}};
    prompter.editView = [](ViewEditRequest& request) {
        request.definition = ParseDefinition(L"System\\CurrentControlSet\\Services,0,0,,|80,<key>,Name",
                                             kTwipsPerPixelAt96Dpi);
        return true;
    };
    prompter.computerAnswer = L"PC1";
    prompter.fileDialogAnswer = iniFile;
    Choose({ContentsOption::PathLocation, L"WS0042", folder});

    struct Case {
        int button;
        ViewKind kind;
        std::wstring computer;
        std::wstring folderPath;
        std::wstring definition;
        std::wstring customFile;
    };
    const Case cases[] = {
        {1, ViewKind::Registry, L"", L"", L"", L"Untitled"},
        {2, ViewKind::Registry, L"", L"", BuiltInView(8, false), L""},
        {3, ViewKind::Registry, L"PC1", L"", BuiltInView(8, false), L""},
        {4, ViewKind::Folder, L"", folder + L"\\", BuiltInView(kInstallFolderView, false), L""},
        {5, ViewKind::Folder, L"", folder + L"\\", BuiltInView(kExeFilesView, false), L""},
        {6, ViewKind::IniTable, L"", iniFile, L"", L""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.button);
        prompter.newViewChoice = NewViewChoice{test.button, 8};
        main->OpenNewViewDialog();
        RunPending();
        ViewForm* opened = main->ActiveView();
        ASSERT_NE(opened, nullptr);
        const View& view = opened->view();
        EXPECT_EQ(view.viewKind, test.kind);
        EXPECT_EQ(view.computerName, test.computer);
        EXPECT_EQ(view.folderPath, test.folderPath);
        if (!test.definition.empty()) {
            EXPECT_EQ(view.definition, test.definition);
        }
        EXPECT_EQ(view.customFile, test.customFile);
        Command(IDM_CLOSE);
    }
    // Only the two folder views went through the selection form, each starting on the path.
    ASSERT_EQ(prompter.contentsStarts.size(), 2u);
    for (const ViewContents& start : prompter.contentsStarts)
        EXPECT_EQ(start.option, ContentsOption::PathLocation);
    DeleteFileW(iniFile.c_str());
}

// This computer's name in the computer box; in the path box the saved path, else the build server's CD image,
// else the packages folder (this prefix has no drive H:).
TEST_F(SelectViewTest, TheFormStartsOnThisComputerAndTheUsualPath) {
    struct Case {
        const wchar_t* saved; // "MsiPath"; nothing: not saved
        const wchar_t* buildServer;
        std::wstring path;
    };
    const Case cases[] = {
        {nullptr, L"", L"D:\\install\\packages"},
        {L"C:", L"BUILD1", L"\\\\BUILD1\\cd_image"}, // too short to count
        {L"\\\\server\\msi", L"BUILD1", L"\\\\server\\msi"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.path);
        if (test.saved != nullptr)
            memory.SetString(L"", RootKey::CurrentUser, kSettings, L"MsiPath", test.saved);
        environment.variables[L"bldsrv"] = test.buildServer;
        auto window = CreateMain();
        ASSERT_NE(window, nullptr);
        window->OpenFolderSelection(kInstallFolderView);
        EXPECT_EQ(prompter.contentsStarts.back(),
                  (ViewContents{ContentsOption::PathLocation, L"WS0042", test.path}));
    }
}

TEST_F(SelectViewTest, ThePathOpenedIsOfferedAgainAndSavedAtExit) {
    Choose({ContentsOption::PathLocation, L"WS0042", folder});
    ViewForm* installs = Command(IDM_INSTALLS_ON_PATH);
    ASSERT_NE(installs, nullptr);
    EXPECT_EQ(installs->view().viewKind, ViewKind::Folder);
    EXPECT_EQ(installs->view().folderPath, folder + L"\\");
    EXPECT_EQ(installs->view().definition, BuiltInView(kInstallFolderView, false));

    prompter.chooseContents = nullptr; // cancelled: nothing opens
    EXPECT_EQ(Command(IDM_INSTALLS_ON_PATH), installs);
    ASSERT_EQ(prompter.contentsStarts.size(), 2u);
    EXPECT_EQ(prompter.contentsStarts[1].path, folder);

    SendMessageW(main->hwnd(), WM_CLOSE, 0, 0);
    const auto saved = memory.Get(L"", RootKey::CurrentUser, kSettings, L"MsiPath");
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(test::Utf16Text(saved->bytes), folder);
}

} // namespace
} // namespace vantrel
