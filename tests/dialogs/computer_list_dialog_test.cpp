// The computer selection dialog driven by its messages: keys, clicks and drops on the real window, the list
// box checked against the model it mirrors.
#include "dialogs/computer_list/computer_list_dialog.h"
#include "dialogs/computer_list/computer_list_dialog_ids.h"
#include "platform/clipboard.h"
#include "platform/com_ptr.h"
#include "shell/scripted_prompter.h"
#include "support/one_format_data.h"
#include "ui/window_text.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>

namespace vantrel {
namespace {

// Every ping replies as soon as it is looked at again.
class PromptPings final : public PingRunner {
public:
    std::optional<PingProcess> Start(std::wstring_view) override { return ++started; }
    std::optional<long> ExitCode(PingProcess) override { return 0; }
    bool Wait(PingProcess, int) override { return true; }
    void Release(PingProcess) override {}
    PingProcess started = 0;
};

using Mode = ComputerListDialog::Mode;
using Names = std::vector<std::wstring>;

class ComputerListDialogTest : public testing::Test {
protected:
    ~ComputerListDialogTest() override { dialog.RunPendingMessages(); }

    void Open(Mode mode, std::wstring_view rowcol = {}) {
        ASSERT_TRUE(dialog.Open(nullptr, mode, rowcol));
        dialog.RunPendingMessages();
    }
    void Add(std::initializer_list<const wchar_t*> names) {
        for (std::wstring name : names)
            (void)model.AddNoDouble(name);
    }
    HWND Control(int id) const { return dialog.control(id); }
    HWND List() const { return Control(IDC_CL_LIST); }

    // A key with others held down, as the dialog's run hands it on.
    void Key(HWND window, int key, std::initializer_list<int> held = {}) {
        BYTE state[256]{};
        for (const int down : held)
            state[down] = 0x80;
        SetKeyboardState(state);
        PostMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        dialog.RunPendingMessages();
        BYTE none[256]{};
        SetKeyboardState(none);
    }
    // A click on entry `index`, Ctrl held to add it to the selection.
    void ClickEntry(int index, bool ctrl = false) {
        RECT item{};
        SendMessageW(List(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM(item.left + 3, item.top + 3);
        const WPARAM keys = ctrl ? MK_CONTROL : 0;
        PostMessageW(List(), WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
        PostMessageW(List(), WM_LBUTTONUP, keys, at);
        dialog.RunPendingMessages();
    }
    void Press(int id) {
        SendMessageW(Control(id), BM_CLICK, 0, 0);
        dialog.RunPendingMessages();
    }

    Names ListTexts() const {
        Names texts;
        const auto count = SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring text(static_cast<size_t>(SendMessageW(List(), LB_GETTEXTLEN, i, 0)), L'\0');
            SendMessageW(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            texts.push_back(text);
        }
        return texts;
    }
    // The list box shows exactly the model: its names, and its selection.
    void ExpectMirrorsModel() const {
        Names names;
        for (const ComputerEntry& entry : model.entries())
            names.push_back(entry.name);
        EXPECT_EQ(ListTexts(), names);
        for (size_t i = 0; i < model.entries().size(); ++i)
            EXPECT_EQ(SendMessageW(List(), LB_GETSEL, i, 0) > 0, model.entries()[i].selected) << i;
    }

    PromptPings pings;
    ComputerList model{pings};
    test::ScriptedPrompter messages;
    Names browsed;
    ComputerListDialog dialog{model, messages, [this](HWND, Names& names) {
                                  names = browsed;
                                  return static_cast<int>(browsed.size()) - 1;
                              }};
};

TEST_F(ComputerListDialogTest, PastingAddsEveryPieceOnceUntrimmed) {
    Open(Mode::Several);
    ASSERT_TRUE(SetClipboardText(nullptr, L"pc1, pc2;\\\\pc3\r\npc1"));
    Key(List(), 'V', {VK_CONTROL});
    EXPECT_EQ(ListTexts(), (Names{L" PC2", L"PC1", L"PC3"}));
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_SELECTED)), L"Selected stations: 0/3");
}

TEST_F(ComputerListDialogTest, EnterInTheNameBoxAddsTheNameAndOpenReturnsItAsTyped) {
    Open(Mode::One);
    EXPECT_TRUE(IsWindowVisible(Control(IDC_CL_NAME)));
    EXPECT_FALSE(IsWindowVisible(Control(IDC_CL_LOCAL)));
    SetWindowTextW(Control(IDC_CL_NAME), L"\\\\server");
    Key(Control(IDC_CL_NAME), VK_RETURN);
    Key(Control(IDC_CL_NAME), VK_RETURN);
    EXPECT_EQ(ListTexts(), Names{L"SERVER"});
    ASSERT_TRUE(dialog.IsShown()) << "Enter in the name box adds; it does not open";

    SetWindowTextW(Control(IDC_CL_NAME), L"pc7");
    Press(IDOK);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.ComputerChosen(), L"pc7");
    EXPECT_EQ(ListTexts(), (Names{L"PC7", L"SERVER"}));

    Open(Mode::One);
    Press(IDC_CL_OPEN_LOCAL);
    EXPECT_EQ(dialog.ComputerChosen(), L"");
}

// "&Open" returns the selected computers, after the local one when "&Include local computer" is ticked;
// the close box returns nothing and the list stays as it was.
TEST_F(ComputerListDialogTest, SeveralComputersComeBackAfterOpenOnly) {
    struct Case {
        bool untick;
        int button;
        Names chosen;
    };
    const Case cases[] = {
        {false, IDOK, {L"", L"A", L"C"}},
        {true, IDOK, {L"A", L"C"}},
        {false, 0, {}},
    };
    Add({L"a", L"b", L"c"});
    for (const Case& test : cases) {
        Open(Mode::Several, L"Services, Spooler");
        EXPECT_FALSE(IsWindowVisible(Control(IDC_CL_NAME)));
        EXPECT_EQ(WindowTextOf(Control(IDC_CL_PROMPT)), L"Datarow: \r\n Services, Spooler");
        ClickEntry(0);
        ClickEntry(2, true);
        if (test.untick)
            Press(IDC_CL_LOCAL);
        if (test.button != 0)
            Press(test.button);
        else
            SendMessageW(dialog.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        dialog.RunPendingMessages();
        EXPECT_FALSE(dialog.IsShown());
        EXPECT_EQ(dialog.ComputersChosen(), test.chosen);
        EXPECT_EQ(ListTexts(), (Names{L"A", L"B", L"C"}));
        if (test.untick)
            Press(IDC_CL_LOCAL);
    }
    // The modal run ends with "&Open" as well.
    static ComputerListDialog* shown = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        if (shown->IsShown())
            SendMessageW(shown->control(IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialog.CompuGetN(nullptr, L""), (Names{L"", L"A", L"C"}));
    KillTimer(nullptr, timer);
}

TEST_F(ComputerListDialogTest, ListKeysCopyCutAndDeleteTheSelectionAndTheListBoxFollows) {
    struct Case {
        const char* keys;
        int key;
        std::initializer_list<int> held;
        const wchar_t* clipboard;
        Names left;
    };
    const Case cases[] = {
        {"Ctrl+C", 'C', {VK_CONTROL}, L"B\r\nD", {L"A", L"B", L"C", L"D", L"E"}},
        {"Delete", VK_DELETE, {}, L"", {L"A", L"C", L"E"}},
        {"Ctrl+X", 'X', {VK_CONTROL}, L"B\r\nD", {L"A", L"C", L"E"}},
        {"Shift+Delete", VK_DELETE, {VK_SHIFT}, L"B\r\nD", {L"A", L"C", L"E"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.keys);
        while (!model.entries().empty()) {
            model.SelectAll();
            model.DeleteSelected();
        }
        Add({L"A", L"B", L"C", L"D", L"E"});
        Open(Mode::Several);
        ASSERT_TRUE(SetClipboardText(nullptr, L""));
        ClickEntry(1);
        ClickEntry(3, true);
        Key(List(), test.key, test.held);
        EXPECT_EQ(ClipboardText(nullptr).value_or(L"?"), test.clipboard);
        EXPECT_EQ(ListTexts(), test.left);
        ExpectMirrorsModel();
        Press(IDCANCEL);
    }
    Open(Mode::Several);
    Key(List(), 'A', {VK_CONTROL});
    EXPECT_EQ(model.SelectedCount(), model.entries().size());
    ExpectMirrorsModel();
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_SELECTED)), L"Selected stations: 3/3");
}

TEST_F(ComputerListDialogTest, PingShowsItsCountsAndAClickResetsAnEntrysStatus) {
    Add({L"A", L"B", L"C"});
    Open(Mode::Several);
    ClickEntry(0);
    ClickEntry(1, true);
    Press(IDC_CL_PING);
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_PING)), L"Cancel &Ping");
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_PING_COUNTS)), L"Replied: 0   No-reply: 0      (2)");
    SendMessageW(dialog.hwnd(), WM_TIMER, 1, 0);
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_PING_COUNTS)), L"Replied: 2   No-reply: 0      (0)");
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_PING)), L"&Ping");

    ClickEntry(1);
    EXPECT_EQ(model.entries()[0].status, PingStatus::Replied);
    EXPECT_EQ(model.entries()[1].status, PingStatus::NotPinged);
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_NAME)), L"B");
    EXPECT_EQ(WindowTextOf(Control(IDC_CL_SELECTED)), L"Selected stations: 1/3");
    ExpectMirrorsModel();
}

TEST_F(ComputerListDialogTest, DroppedComputersAndBrowsedOnesJoinTheList) {
    Open(Mode::Several);
    ASSERT_NE(dialog.dropTarget(), nullptr);
    const auto drop = [this](const wchar_t* format, std::string bytes) {
        ComPtr<IDataObject> data;
        *data.put() = new test::OneFormatData(format, std::move(bytes));
        DWORD effect = DROPEFFECT_COPY;
        dialog.dropTarget()->Drop(data.get(), 0, POINTL{}, &effect);
        return effect;
    };
    // The shell's names are ANSI text, each after "\\" and up to a NUL.
    constexpr char kNetResource[] = "\\\\pcx\0\0\\\\pc\xC9y\0";
    EXPECT_EQ(drop(L"Net Resource", std::string(kNetResource, sizeof(kNetResource) - 1)),
              DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(drop(L"Something else", "\\\\pcz"), DWORD{DROPEFFECT_NONE});
    browsed = {L"", L"host1", L"\\\\host2"};
    Press(IDC_CL_BROWSE);
    EXPECT_EQ(ListTexts(), (Names{L"HOST1", L"HOST2", L"PCX", L"PC\u00C9Y"}));
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace vantrel
