// The file properties dialog's texts and command lines, and the associations it reads from the registry.
#include "engine/file_associations.h"
#include "engine/file_commands.h"
#include "engine/scripted_host.h"

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

TEST(FileCommands, SizeInKbAndAboveAMillionBytesInMb) {
    const struct {
        std::uint64_t bytes;
        const wchar_t* text;
    } cases[] = {
        {0, L"1kB"},
        {1023, L"1kB"},
        {1024, L"2kB"},
        {1'000'000, L"977kB"},
        {1'000'001, L"977kB, 1MB"},
        {1'500'000, L"1465kB, 1MB"},
        {5'000'000'000, L"4882813kB, 4768MB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeKbText(c.bytes), c.text) << c.bytes;
}

TEST(FileCommands, AttributesInUpperCaseHex) {
    EXPECT_EQ(AttributesText(0x20), L" 0x20");
    EXPECT_EQ(AttributesText(0x4010 | 0xA), L" 0x401A");
}

TEST(FileCommands, RecentProgramsInMruListOrderOnly) {
    const std::vector<ValueText> values{
        {L"a", L"notepad.exe"}, {L"b", L"wordpad.exe"}, {L"c", L"write.exe"}, {L"", L"unnamed.exe"}};
    EXPECT_EQ(OrderByMruList(values, L"ca"), (std::vector<std::wstring>{L"write.exe", L"notepad.exe"}));
    EXPECT_TRUE(OrderByMruList(values, L"?").empty());
}

TEST(FileCommands, ShellActionsInTheDefaultValuesOrderThenTheOthers) {
    const std::vector<std::wstring> listed{L"edit", L"open", L"play", L"print", L"Zoom"};
    const struct {
        const wchar_t* defaultValue;
        std::vector<std::wstring> order;
    } cases[] = {
        {L"open,edit,print", {L"open", L"edit", L"print", L"play", L"Zoom"}},
        {L"", listed},
        {L"?", listed},                                          // no default value
        {L"print,,open", {L"print", L"edit", L"play", L"Zoom"}}, // stops at the first empty field; "open"
                                                                 // still occurs in the text
        {L"Play", {L"Play", L"edit", L"open", L"play", L"print", L"Zoom"}}, // the search is exact-case
        {L"!x,open", {L"open", L"edit", L"play", L"print", L"Zoom"}},       // "!x" sorts before "?"
    };
    for (const auto& c : cases)
        EXPECT_EQ(OrderShellActions(c.defaultValue, listed), c.order) << c.defaultValue;
}

TEST(FileCommands, RegisteredCommandsBecomeCommandLinesForThePath) {
    const struct {
        const wchar_t* command;
        const wchar_t* line;
    } cases[] = {
        {L"notepad.exe %1", L"notepad.exe C:\\a b.txt"},
        {L"\"C:\\Program Files\\App\\app.exe\" /dde", L"\"C:\\Program Files\\App\\app.exe\" C:\\a b.txt"},
        {L"app.exe \"%L\"", L"app.exe \"C:\\a b.txt\""},
        {L"explorer.exe /idlist,%I,%L", L"explorer.exe C:\\a b.txt"},
        {L"app.exe \"%1\" %*", L"app.exe \"C:\\a b.txt\""},
        {L"  wordpad.exe  ", L"wordpad.exe C:\\a b.txt"},
        {L"app.exe %1 %1", L"app.exe C:\\a b.txt %1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineFor(c.command, L"C:\\a b.txt"), c.line) << c.command;
}

TEST(FileCommands, LaunchSplitsProgramFromParametersAfterExpandingTheEnvironment) {
    FakeEnvironment environment;
    environment.variables[L"systemroot"] = L"C:\\windows";
    const struct {
        const wchar_t* line;
        const wchar_t* chosen;
        LaunchRequest request;
    } cases[] = {
        {L"\"C:\\Program Files\\App\\app.exe\" C:\\a b.txt",
         L"open",
         {L"open", L"C:\\Program Files\\App\\app.exe", L"C:\\a b.txt"}},
        {L"%SystemRoot%\\notepad.exe C:\\a.txt",
         L"edit",
         {L"open", L"C:\\windows\\notepad.exe", L"C:\\a.txt"}},
        {L"%unset%app.exe  x  %*", L"RunAs", {L"runas", L"app.exe", L"x"}},
        {L"notepad.exe", L"notepad.exe", {L"open", L"notepad.exe", L""}},
        {L"app.exe 100% %SystemRoot%", L"", {L"open", L"app.exe", L"100SystemRoot%"}}, // "% %" is a pair
        {L"", L"", {L"open", L"", L""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LaunchRequestFor(c.line, c.chosen, environment), c.request) << c.line;
}

TEST(FileCommands, ExplorerSelectsAFileAndOpensAFolder) {
    EXPECT_EQ(ExplorerCommandLine(L"C:\\Data\\a.txt", false),
              L"Explorer /e,C:\\Data\\,/select,C:\\Data\\a.txt");
    EXPECT_EQ(ExplorerCommandLine(L"C:\\Data", true), L"Explorer /e,C:\\Data");
}

class FileAssociationsTest : public ::testing::Test {
protected:
    void SetDefault(std::wstring_view path, std::wstring_view text) {
        memory.SetString(L"", RootKey::ClassesRoot, path, L"", text);
    }
    MemoryRegistry memory;
    Registry registry{memory};
};

TEST_F(FileAssociationsTest, RecentProgramsFromOpenWithList) {
    const std::wstring key =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.vtest\\OpenWithList";
    for (const auto& [name, text] :
         {std::pair{L"a", L"notepad.exe"}, {L"b", L"wordpad.exe"}, {L"c", L"write.exe"}})
        memory.SetString(L"", RootKey::CurrentUser, key, name, text);
    memory.SetString(L"", RootKey::CurrentUser, key, L"MRUList", L"ca");
    EXPECT_EQ(RecentPrograms(registry, L"vtest"), (std::vector<std::wstring>{L"write.exe", L"notepad.exe"}));
    EXPECT_TRUE(RecentPrograms(registry, L"none").empty());
}

TEST_F(FileAssociationsTest, ShellKeyFollowsTheTypeAndItsCurrentVersion) {
    SetDefault(L".vtest", L"vtestfile");
    EXPECT_EQ(ShellKeyOf(registry, L"vtest", false), L"hkcr\\vtestfile\\Shell");
    EXPECT_EQ(ShellKeyOf(registry, L"vtest", true), L"hkcr\\Folder\\Shell");
    SetDefault(L"vtestfile\\CurVer", L"vtestfile.2");
    EXPECT_EQ(ShellKeyOf(registry, L"vtest", false), L"hkcr\\vtestfile.2\\Shell");
}

TEST_F(FileAssociationsTest, ActionsAndTheirCommands) {
    for (const wchar_t* action : {L"print", L"edit", L"zap", L"open"})
        SetDefault(std::wstring(L"vtestfile\\shell\\") + action + L"\\command",
                   std::wstring(action) + L".exe %1");
    memory.CreateKey(L"", RootKey::ClassesRoot, L"vtestfile\\shell\\bare");
    EXPECT_EQ(ShellActions(registry, L"hkcr\\vtestfile\\Shell"),
              (std::vector<std::wstring>{L"bare", L"edit", L"open", L"print", L"zap"}));
    SetDefault(L"vtestfile\\shell", L"open,edit,print");
    EXPECT_EQ(ShellActions(registry, L"hkcr\\vtestfile\\Shell"),
              (std::vector<std::wstring>{L"open", L"edit", L"print", L"bare", L"zap"}));
    EXPECT_EQ(ActionCommand(registry, L"hkcr\\vtestfile\\Shell", L"zap"), L"zap.exe %1");
    EXPECT_EQ(ActionCommand(registry, L"hkcr\\vtestfile\\Shell", L"bare"), L"");
    EXPECT_TRUE(ShellActions(registry, L"hkcr\\nothing\\Shell").empty());
}

TEST_F(FileAssociationsTest, ProgramCommandFallsBackToTheProgramName) {
    SetDefault(L"Applications\\app.exe\\shell\\open\\command", L"\"C:\\App\\app.exe\" \"%1\"");
    EXPECT_EQ(ProgramCommand(registry, L"app.exe"), L"\"C:\\App\\app.exe\" \"%1\"");
    EXPECT_EQ(ProgramCommand(registry, L"other.exe"), L"other.exe");
}

} // namespace
} // namespace vantrel::test
