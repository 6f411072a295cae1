// The shell's rules that need no window: the toolbar from the command table, the "Window" setting, settings
// read from the registry, the computer box's text and NewView's arguments.
#include "shell/command_language.h"
#include "shell/command_table.h"
#include "shell/settings.h"
#include "shell/view_opening.h"
#include "shell/window_setting.h"
#include "sources/registry.h"
#include "support/memory_registry.h"
#include "views/catalogue.h"

#include <gtest/gtest.h>

#include <optional>

namespace vantrel {
namespace {

TEST(CommandTable, TwentySixRowsOfSixtySixCharacters) {
    EXPECT_EQ(kCommandTable.size(), 26 * kCommandRowLength);
    const auto entries = ParseCommandTable(kCommandTable, 2000);
    ASSERT_EQ(entries.size(), 26u);
    std::vector<int> numbers;
    for (const ToolbarEntry& entry : entries)
        numbers.push_back(entry.number);
    EXPECT_EQ(numbers, (std::vector<int>{0, 4, 7, 8,  15, 9, 0,  3,  6, 5,  20, 16, 1,
                                         2, 0, 0, 18, 28, 0, 12, 10, 0, 14, 25, 0,  23}));
}

TEST(CommandTable, ButtonsSpacersAndTheComputerBoxPlace) {
    const auto entries = ParseCommandTable(kCommandTable, 2000);
    EXPECT_EQ(entries[0], (ToolbarEntry{0, ToolbarStyle::Placeholder, L"", L"", 30, false}));
    EXPECT_EQ(entries[1], (ToolbarEntry{4, ToolbarStyle::Button, L"New", L"Start a new view", 0, false}));
    EXPECT_EQ(entries[5], (ToolbarEntry{9, ToolbarStyle::Check, L"View details", L"Details view", 0, false}));
    EXPECT_EQ(entries[9].description, L"View 'PCI hardware view'");
    EXPECT_EQ(entries[15], (ToolbarEntry{0, ToolbarStyle::Placeholder, L"", L"", 2120, true}));
    EXPECT_EQ(entries[17].tooltip, L"Current datarow on multiple computers");
    EXPECT_EQ(entries[25], (ToolbarEntry{23, ToolbarStyle::Button, L"Open in Excel",
                                         L"Copy this view to an Excel sheet", 0, false}));
}

TEST(CommandTable, FlagsAndWidthCodes) {
    const std::wstring table =
        std::wstring(L"11dDrop                      Drops                                ") +
        L"00 0                                                              " + L"00";
    const auto entries = ParseCommandTable(table, 1000);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].style, ToolbarStyle::DropDown);
    EXPECT_EQ(entries[1].style, ToolbarStyle::Separator);
    EXPECT_EQ(entries[2].style, ToolbarStyle::Separator); // a short last row
}

TEST(WindowSetting, WritesFourNumbersEachFollowedByANulAndOneMore) {
    EXPECT_EQ(FormatWindowSetting({1200, -60, 9000, 7000, false}), std::wstring(L"1200\0-60\0"
                                                                                L"9000\0"
                                                                                L"7000\0\0",
                                                                                20));
    EXPECT_EQ(FormatWindowSetting({1200, 300, 9000, 7000, true}).substr(0, 3), L"-60");
}

const WindowPlacement kDesigned{100, 200, 12000, 9000, false};
constexpr int kScreenWidth = 19200;
constexpr int kScreenHeight = 14400;

WindowPlacement Place(std::wstring text) {
    return PlaceFromWindowSetting(text, kDesigned, kScreenWidth, kScreenHeight);
}

TEST(WindowSetting, RestoresThePlace) {
    EXPECT_EQ(Place(FormatWindowSetting({1200, 600, 9000, 7000, false})),
              (WindowPlacement{1200, 600, 9000, 7000, false}));
    EXPECT_EQ(Place(std::wstring(L"  1200\0 600x\0"
                                 L"9000.4\0"
                                 L"7000\0\0",
                                 26)),
              (WindowPlacement{1200, 600, 9000, 7000, false}));
}

TEST(WindowSetting, NegativeLeftMaximizesAndAppliesNothingElse) {
    EXPECT_EQ(Place(FormatWindowSetting({500, 600, 9000, 7000, true})),
              (WindowPlacement{100, 200, 12000, 9000, true}));
}

TEST(WindowSetting, SmallSizesAreRaisedToTheMinimum) {
    EXPECT_EQ(Place(FormatWindowSetting({0, 0, 1000, 500, false})),
              (WindowPlacement{0, 0, 3000, 2000, false}));
}

TEST(WindowSetting, TopOfMinus100KeepsThePlaceWithoutSizeOrCentring) {
    EXPECT_EQ(Place(FormatWindowSetting({700, -100, 5000, 5000, false})),
              (WindowPlacement{700, -100, 12000, 9000, false}));
}

TEST(WindowSetting, TopBelowMinus100Centres) {
    EXPECT_EQ(Place(FormatWindowSetting({700, -2000, 5000, 5000, false})),
              (WindowPlacement{(kScreenWidth - 12000) / 2, (kScreenHeight - 9000) / 3, 12000, 9000, false}));
}

TEST(WindowSetting, MissingOrShortSettingCentresTheDesignedWindow) {
    const WindowPlacement centred{(kScreenWidth - 12000) / 2, (kScreenHeight - 9000) / 3, 12000, 9000, false};
    EXPECT_EQ(Place(L"\u00AC"), centred); // the key is missing
    EXPECT_EQ(Place(L"?"), centred);      // the value is missing
    EXPECT_EQ(Place(std::wstring(L"1\0", 2)), centred);
    EXPECT_EQ(Place(std::wstring(L"12\0"
                                 L"3",
                                 4)),
              kDesigned); // 3 to 5 characters: nothing applies
}

TEST(ComputerBox, ShowsTheComputerOrTheLocalStation) {
    EXPECT_EQ(ComputerBoxText(L""), L"<local station>");
    EXPECT_EQ(ComputerBoxText(L"."), L"<local station>");
    EXPECT_EQ(ComputerBoxText(L".WS0015"), L"WS0015");
    EXPECT_EQ(ComputerBoxText(L"PC7"), L"PC7");
}

TEST(ResolveNewView, NumbersComputersAndExtraTexts) {
    ViewOpening services = ResolveNewView(L"", L"8", L"", L"<local station>");
    EXPECT_EQ(services.computer, L"");
    EXPECT_EQ(services.definition, BuiltInView(8, false));
    EXPECT_EQ(services.markOption, false);

    ViewOpening remote = ResolveNewView(L"", L"12", L"", L"WS0015");
    EXPECT_EQ(remote.computer, L"WS0015");
    EXPECT_EQ(remote.definition, BuiltInView(12, false));

    ViewOpening classes = ResolveNewView(L"PC7", L"4", L"{441D94CB-16C9-48F9-B33C-9BA0B9134396}", L"WS0015");
    EXPECT_EQ(classes.computer, L"PC7");
    EXPECT_EQ(classes.dataVariable, L"{441D94CB-16C9-48F9-B33C-9BA0B9134396}");

    ViewOpening own = ResolveNewView(L"<local computer>", L"Software\\Acme,01,01,Acme,|9,<key>", L"", L"PC7");
    EXPECT_EQ(own.computer, L"");
    EXPECT_EQ(own.definition, L"Software\\Acme,01,01,Acme,|9,<key>");
    EXPECT_FALSE(own.markOption.has_value());

    EXPECT_EQ(ResolveNewView(L"", L"0", L"", L"").definition, L""); // not a positive number: the default view
    EXPECT_EQ(ResolveNewView(L"", L"", L"", L"").definition, L"");
}

// What each option of the selection form opens: the installed software of a computer (the local one for the
// first option and for a blank computer box) or a folder view of the path, always a folder.
TEST(OpeningOfContents, InstalledSoftwareOfAComputerOrAFolderViewOfAPath) {
    struct Case {
        ViewContents contents;
        int folderView;
        std::wstring computer;
        ViewKind kind;
        std::wstring definition;
        std::wstring folderPath;
    };
    const Case cases[] = {
        {{ContentsOption::LocallyInstalled, L"PC1", L"H:\\"}, 99, L"", ViewKind::Registry, L"", L""},
        {{ContentsOption::Station, L" PC1 ", L"H:\\"}, 99, L"PC1", ViewKind::Registry, L"", L""},
        {{ContentsOption::Station, L"", L"H:\\"}, 99, L"", ViewKind::Registry, L"", L""},
        {{ContentsOption::CdImage, L"PC1", L"H:\\"},
         99,
         L"",
         ViewKind::Folder,
         L"99",
         L"d:\\distrib\\CD_image\\"},
        {{ContentsOption::PathLocation, L"PC1", L"\\\\srv\\cd_image"},
         98,
         L"",
         ViewKind::Folder,
         L"98",
         L"\\\\srv\\cd_image\\"},
        {{ContentsOption::PathLocation, L"PC1", L"H:\\"}, 99, L"", ViewKind::Folder, L"99", L"H:\\"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(static_cast<int>(test.contents.option));
        const ViewOpening opening = OpeningOfContents(test.contents, test.folderView);
        EXPECT_EQ(opening.computer, test.computer);
        EXPECT_EQ(opening.kind, test.kind);
        EXPECT_EQ(opening.definition, test.definition);
        EXPECT_EQ(opening.folderPath, test.folderPath);
        EXPECT_EQ(opening.customFile, L"");
    }
}

// Where the path box starts when no path was saved.
TEST(DefaultInstallPath, HomeDriveThenBuildServerThenPackagesFolder) {
    EXPECT_EQ(DefaultInstallPath(true, L"BUILD1"), L"H:\\");
    EXPECT_EQ(DefaultInstallPath(false, L"BUILD1"), L"\\\\BUILD1\\cd_image");
    EXPECT_EQ(DefaultInstallPath(false, L" BUILD1 "), L"\\\\BUILD1\\cd_image");
    EXPECT_EQ(DefaultInstallPath(false, L"   "), L"D:\\install\\packages");
    EXPECT_EQ(DefaultInstallPath(false, L""), L"D:\\install\\packages");
}

TEST(CommandLanguage, CommandsWordsAndArguments) {
    EXPECT_EQ(ParseCommandString(L"[OpenSW WS0015][Detail 1][OutExcel][Exit]"),
              (std::vector<Command>{
                  {L"opensw", L"WS0015"}, {L"detail", L"1"}, {L"outexcel", L""}, {L"exit", L""}}));
    EXPECT_EQ(ParseCommandString(L"[open \"C:\\My Views\\a]b.kvf\"]  [Close]"),
              (std::vector<Command>{{L"open", L"C:\\My Views\\a]b.kvf"}, {L"close", L""}}));
    EXPECT_EQ(ParseCommandString(L"[Sort 3 -]"), (std::vector<Command>{{L"sort", L"3 -"}}));
    EXPECT_EQ(ParseCommandString(L"{OpenOCX}"), (std::vector<Command>{{L"openocx", L""}}));
    EXPECT_EQ(
        ParseCommandString(L"[Exit][][Close]"),
        (std::vector<Command>{{L"exit", L""}, {L"", L""}, {L"close", L""}})); // the empty word does nothing
    EXPECT_EQ(ParseCommandString(L"[Exit]]  ]"),
              (std::vector<Command>{{L"exit", L""}})); // stops at an empty part
    EXPECT_TRUE(ParseCommandString(L"").empty());
}

TEST(CommandLanguage, SecondStartsHandOverTheirCommandLine) {
    EXPECT_EQ(HandOverCommand(L"C:\\Program Files\\x.ini"), L"[open \"C:\\Program Files\\x.ini\"]");
    EXPECT_EQ(HandOverCommand(L"[OpenSW PC7]"), L"[OpenSW PC7]");
    EXPECT_EQ(UnquotedCommandLine(L"\"C:\\a b\\x.kvf\""), L"C:\\a b\\x.kvf");
    EXPECT_EQ(UnquotedCommandLine(L"\"only leading"), L"only leading");
    EXPECT_EQ(UnquotedCommandLine(L"\""), L"");
    for (const wchar_t* help : {L"-", L"?", L"-?", L"/", L"/?"})
        EXPECT_TRUE(IsHelpSwitch(help)) << help;
    EXPECT_FALSE(IsHelpSwitch(L"/x"));
}

TEST(CommandLanguage, UsageTextWithLineFeedsAndTabs) {
    const std::wstring usage = UsageText();
    EXPECT_TRUE(usage.starts_with(L"Usage:\n\tKivo [<kvffile>|<inifile>|<DDE-cmd>[..]]\n\nWhere:\n"));
    EXPECT_NE(usage.find(L" - OpenSW    [<computer>]\tOpen the \"Installed\" view\n"), std::wstring::npos);
    EXPECT_NE(usage.find(L" - Close\t\t\tClose the active view\n"), std::wstring::npos);
    EXPECT_TRUE(usage.ends_with(L"\n\tKivo [OpenSW WS0015][Detail 1][OutExcel][Exit]\n"));
    EXPECT_EQ(usage.find(L'#'), std::wstring::npos);
    EXPECT_EQ(usage.find(L'_'), std::wstring::npos);
}

// "ParallelReads": a whole number from 1 to 64, as DWORD or text; anything else is the default, 16.
TEST(Settings, RowsReadAtOnce) {
    struct Case {
        std::optional<std::wstring> text;
        std::optional<std::uint32_t> number;
        int expected;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 16},
        {L"4", std::nullopt, 4},
        {L" 8 ", std::nullopt, 8},
        {L"0", std::nullopt, 1},
        {L"999999999999999999999", std::nullopt, 16},
        {L"200", std::nullopt, 64},
        {L"-3", std::nullopt, 16},
        {L"lots", std::nullopt, 16},
        {std::nullopt, 1u, 1},
        {std::nullopt, 32u, 32},
        {std::nullopt, 0xFFFFFFFFu, 64},
    };
    for (const Case& c : cases) {
        test::MemoryRegistry memory;
        Registry registry(memory);
        if (c.text)
            memory.SetString(L"", RootKey::CurrentUser, L"Software\\Ostrand\\Kivo", L"ParallelReads",
                             *c.text);
        if (c.number)
            memory.SetDword(L"", RootKey::CurrentUser, L"Software\\Ostrand\\Kivo", L"ParallelReads",
                            *c.number);
        EXPECT_EQ(ParallelReads(registry), c.expected)
            << c.text.value_or(L"-") << " " << c.number.value_or(0);
    }
}

} // namespace
} // namespace vantrel
