// Fills while the registry fails under them: keys deleted, denied or gone between the listing and the reads,
// values that change their type, computers that drop off mid-fill; and sizes far past the everyday (100,000
// subkeys, values of 1 MB, twelve wildcard levels). Whatever happens, the fill ends idle with every handle
// closed, the rows that stayed readable keep their exact texts, and a cell whose data went shows what the
// fill rules give: empty for a missing key or value, "Not connected" for a lost computer with the rest of its
// row empty.
#include "engine/table_export.h"
#include "sources/unicode_text.h"
#include "engine/view_fixture.h"
#include "views/markers.h"

#include <functional>
#include <map>
#include <new>
#include <random>

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
using Kind = RegistryCall::Kind;
using Grid = std::vector<Texts>; // the data rows, every column but the row number
const std::wstring kItems = L"Software\\Acme\\Items";
const std::wstring kNotConnectedCell(kNotConnectedText);
constexpr int kItemCount = 8;
// The key, a string, a number, a value of a subkey, a value no item has, and whether the subkey exists ("!"
// for a key without a default value, empty for a missing key).
const std::wstring kDefinition = L"HKLM\\" + kItems +
                                 L",012345,012345,Items,|9,<key>,Key|9,Name,Name|9,Size,Size|9,Sub\\Inner,"
                                 L"Inner|9,Missing,Missing|9,Sub\\!?,Sub";
constexpr int kColumns = 6;

std::wstring ItemName(int i) {
    return std::wstring(L"Item") + (i < 10 ? L"0" : L"") + std::to_wstring(i);
}

std::wstring ItemKey(int i, std::wstring_view below = {}) {
    return kItems + L"\\" + ItemName(i) + std::wstring(below);
}

// Each computer's items tell which computer they are on.
void AddItems(MemoryRegistry& memory, const std::wstring& computer, int count = kItemCount) {
    for (int i = 0; i < count; ++i) {
        memory.SetString(computer, HKLM, ItemKey(i), L"Name", L"Name " + std::to_wstring(i) + computer);
        memory.SetDword(computer, HKLM, ItemKey(i), L"Size", static_cast<std::uint32_t>(i * 10));
        memory.SetString(computer, HKLM, ItemKey(i, L"\\Sub"), L"Inner", L"Inner " + std::to_wstring(i));
    }
}

Texts CleanRow(int i, const std::wstring& computer = L"") {
    return {ItemName(i),
            L"Name " + std::to_wstring(i) + computer,
            std::to_wstring(i * 10),
            L"Inner " + std::to_wstring(i),
            L"",
            L"!"};
}

Grid CleanGrid(const std::wstring& computer) {
    Grid grid;
    for (int i = 0; i < kItemCount; ++i)
        grid.push_back(CleanRow(i, computer));
    return grid;
}

// Everything one fill reaches, fresh for every fill: a fault changes the world it strikes.
struct World : FakeViewServices {
    ScriptedHost host;
    std::unique_ptr<View> view;

    View& Fill(const std::wstring& definition, const std::wstring& computer, int inFlight) {
        ViewServices services = ForViews();
        services.readsInFlight = inFlight;
        view = std::make_unique<View>(services, host, 15);
        view->definition = definition;
        view->computerName = computer;
        view->fillflex();
        return *view;
    }
    Grid Rows() const {
        Grid rows;
        for (int r = 1; r < view->grid.Rows(); ++r) {
            rows.emplace_back();
            for (int c = 1; c < view->grid.Cols(); ++c)
                rows.back().push_back(view->grid.TextMatrix(r, c));
        }
        return rows;
    }
    // However the fill went, it ended: idle, the pointer and "&Cancel" back, every handle closed once.
    void ExpectEnded(const std::string& context) const {
        EXPECT_EQ(view->state(), ViewState::Idle) << context;
        EXPECT_FALSE(host.busy) << context;
        EXPECT_FALSE(host.cancelShown) << context;
        EXPECT_EQ(memory.OpenHandleCount(), 0U) << context << ": a handle was left open";
        EXPECT_EQ(memory.BadCloseCount(), 0U) << context << ": a handle was closed twice";
    }
};

// The fill's first read of an item: its key opened.
bool FirstItemRead(const RegistryCall& call) {
    return call.kind == Kind::Open && call.name.ends_with(ItemName(0));
}

// Picks the call `calls` calls after the first read of an item: a point after the listing, whatever number
// of calls the listing took.
CallFilter AfterCallsIntoTheReads(std::size_t calls) {
    return [calls, reading = false](const RegistryCall& call) mutable {
        reading = reading || FirstItemRead(call);
        return reading && calls-- == 0;
    };
}

// The calls a fault-free fill makes from its first item read on.
std::size_t CallsOfTheReads(const std::wstring& computer, int inFlight) {
    World world;
    AddItems(world.memory, computer);
    std::size_t before = 0;
    world.memory.FaultBefore(FirstItemRead, [&] { before = world.memory.CallCount(); });
    world.Fill(kDefinition, computer, inFlight);
    return world.memory.CallCount() - before + 1;
}

// ---- Faults that strike one item after the listing ----

using Strike = std::function<void(MemoryRegistry&, const std::wstring& computer)>;

// A fault on one item's keys or values, and the cells it may change: to `after` once it struck before their
// read, as they were when it came after.
struct ItemFault {
    const char* name;
    Strike strike;
    int row;
    std::vector<int> columns; // grid columns, 0 the key
    std::wstring after;
};

Strike Deleting(std::wstring path) {
    return [path](MemoryRegistry& memory, const std::wstring& pc) {
        memory.DeleteKey(pc, HKLM, path);
    };
}
Strike Denying(std::wstring path) {
    return [path](MemoryRegistry& memory, const std::wstring& pc) {
        memory.Deny(pc, HKLM, path);
    };
}
Strike Vanishing(std::wstring path) {
    return [path](MemoryRegistry& memory, const std::wstring& pc) {
        memory.Vanish(pc, HKLM, path);
    };
}
Strike RemovingSize(int item) {
    return [item](MemoryRegistry& memory, const std::wstring& pc) {
        memory.RemoveValue(pc, HKLM, ItemKey(item), L"Size");
    };
}
Strike NewName(RegistryData data) {
    return [data](MemoryRegistry& memory, const std::wstring& pc) {
        memory.SetRaw(pc, HKLM, ItemKey(6), L"Name", data);
    };
}
RegistryData Utf16Data(std::uint32_t type, std::wstring_view text) {
    return {type, Utf16Bytes(text, false)};
}

// Type changes show what the new data reads as: a number its decimal text, binary data one character per
// byte, a multi-string its strings with the zeros between them (the last one dropped), odd string data its
// last byte as a character of its own, a text that is a marker what the marker gives.
std::vector<ItemFault> ItemFaults() {
    const std::vector<int> wholeRow = {1, 2, 3, 5};
    const std::vector<int> subkeyCells = {3, 5};
    return {
        {"its key deleted", Deleting(ItemKey(3)), 3, wholeRow, L""},
        {"its key denied", Denying(ItemKey(2)), 2, wholeRow, L""},
        {"its key gone", Vanishing(ItemKey(7)), 7, wholeRow, L""},
        {"its subkey deleted", Deleting(ItemKey(5, L"\\Sub")), 5, subkeyCells, L""},
        {"its subkey gone", Vanishing(ItemKey(4, L"\\Sub")), 4, subkeyCells, L""},
        {"a value removed", RemovingSize(1), 1, {2}, L""},
        {"REG_SZ becoming REG_DWORD", NewName({regtype::kDword, {42, 1, 0, 0}}), 6, {1}, L"298"},
        {"REG_SZ becoming REG_BINARY",
         NewName({regtype::kBinary, {'A', 0, 0xFF}}),
         6,
         {1},
         std::wstring(L"A\0\u00FF", 3)},
        {"REG_SZ becoming REG_MULTI_SZ",
         NewName(Utf16Data(regtype::kMultiSz, std::wstring(L"one\0two\0\0", 9))),
         6,
         {1},
         std::wstring(L"one\0two\0", 8)},
        {"REG_SZ becoming empty", NewName({regtype::kSz, {}}), 6, {1}, L""},
        {"REG_SZ of odd length", NewName({regtype::kSz, {'A', 0, 'B'}}), 6, {1}, L"AB"},
        {"REG_SZ without its zero", NewName(Utf16Data(regtype::kSz, L"unended")), 6, {1}, L"unended"},
        {"REG_SZ holding a marker", NewName(Utf16Data(regtype::kSz, std::wstring(L"?\0", 2))), 6, {1}, L""},
    };
}

struct Place {
    const wchar_t* computer;
    int inFlight;
};

class FaultItems : public ::testing::TestWithParam<Place> {
protected:
    std::wstring computer() const { return GetParam().computer; }
    int inFlight() const { return GetParam().inFlight; }
    // The local registry is read one item after the other whatever the setting.
    bool OneAfterTheOther() const { return inFlight() == 1 || computer().empty(); }

    Grid FillStruck(const ItemFault& fault, std::size_t calls, const std::string& context) {
        World world;
        AddItems(world.memory, computer());
        world.memory.FaultBefore(AfterCallsIntoTheReads(calls),
                                 [&] { fault.strike(world.memory, computer()); });
        world.Fill(kDefinition, computer(), inFlight());
        world.ExpectEnded(context);
        return world.Rows();
    }
};

// The fault strikes once at each point of the reads in turn. Every grid keeps every item and every cell the
// fault does not touch; a touched cell shows its old text or `after`; and reading one item after the other,
// the later the fault, the more cells keep their old texts, up to the whole grid when it comes after the
// last read.
TEST_P(FaultItems, ChangesOnlyTheCellsWhoseDataWentAndLosesNothingReadBefore) {
    const Grid clean = CleanGrid(computer());
    const std::size_t calls = CallsOfTheReads(computer(), inFlight());
    for (const ItemFault& fault : ItemFaults()) {
        std::map<int, bool> keptBefore; // column: its cell kept its old text at the last point
        // Side by side the points fall differently in every fill: a sample of them does.
        const std::size_t step = OneAfterTheOther() ? 1 : 7;
        for (std::size_t n = 0; n <= calls; n += step) {
            const std::string context = std::string(fault.name) + ", after " + std::to_string(n) + " calls";
            const Grid grid = FillStruck(fault, n, context);
            ASSERT_EQ(grid.size(), clean.size()) << context;
            for (int r = 0; r < kItemCount; ++r)
                for (int c = 0; c < kColumns; ++c) {
                    const std::wstring& cell = grid[r][c];
                    const bool touched = r == fault.row && std::ranges::count(fault.columns, c) > 0;
                    if (!touched) {
                        EXPECT_EQ(cell, clean[r][c]) << context << ", row " << r << ", column " << c;
                        continue;
                    }
                    EXPECT_TRUE(cell == clean[r][c] || cell == fault.after)
                        << context << ", column " << c << ": " << testing::PrintToString(cell);
                    if (!OneAfterTheOther())
                        continue;
                    const bool kept = cell == clean[r][c];
                    if (n == 0) {
                        EXPECT_EQ(cell, fault.after) << context << ", column " << c;
                    } else if (keptBefore[c]) {
                        EXPECT_TRUE(kept) << context << ", column " << c << " lost what it read before";
                    }
                    keptBefore[c] = kept;
                }
        }
        for (const int c : fault.columns) {
            if (OneAfterTheOther()) {
                EXPECT_TRUE(keptBefore[c]) << fault.name << ": the fill's end still misses column " << c;
            }
        }
    }
}

// Keys denied before the fill, chosen at random: the items stay listed, their cells and those of the denied
// subkeys are empty, and everything else is read.
TEST_P(FaultItems, DeniedKeysLeaveTheirCellsEmpty) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        World world;
        AddItems(world.memory, computer());
        Grid expected = CleanGrid(computer());
        for (int i = 0; i < kItemCount; ++i) {
            const unsigned what = random() % 4;
            if (what == 1) {
                world.memory.Deny(computer(), HKLM, ItemKey(i));
                expected[i] = {ItemName(i), L"", L"", L"", L"", L""};
            } else if (what == 2) {
                world.memory.Deny(computer(), HKLM, ItemKey(i, L"\\Sub"));
                expected[i][3] = expected[i][5] = L"";
            }
        }
        world.Fill(kDefinition, computer(), inFlight());
        const std::string context = "seed " + std::to_string(seed);
        EXPECT_EQ(world.Rows(), expected) << context;
        world.ExpectEnded(context);
    }
    World world;
    AddItems(world.memory, computer());
    world.memory.Deny(computer(), HKLM, kItems);
    world.Fill(kDefinition, computer(), inFlight());
    EXPECT_EQ(world.view->rowCount, 0);
    world.ExpectEnded("the base denied");
}

// Memory running out at each call of the reads in turn (a close frees and allocates nothing): the fill ends
// as a stopped one with the rows that were whole, says why, and leaves its rows and their keys agreeing. A
// worker's failure is its row's only: the UI thread reads that row again.
TEST_P(FaultItems, MemoryRunningOutKeepsTheWholeRowsReadSoFar) {
    const Grid clean = CleanGrid(computer());
    bool struck = true;
    for (std::size_t n = 0; struck && n < 10000; n += OneAfterTheOther() ? 1 : 7) {
        const std::string context = "out of memory after " + std::to_string(n) + " calls";
        World world;
        AddItems(world.memory, computer());
        struck = false;
        world.memory.FaultBefore(
            [calls = AfterCallsIntoTheReads(n)](const RegistryCall& call) mutable {
                return call.kind != Kind::Close && calls(call);
            },
            [&] {
                struck = true;
                throw std::bad_alloc();
            });
        world.Fill(kDefinition, computer(), inFlight());
        world.ExpectEnded(context);
        const Grid rows = world.Rows();
        ASSERT_LE(rows.size(), clean.size()) << context;
        EXPECT_TRUE(std::equal(rows.begin(), rows.end(), clean.begin())) << context;
        EXPECT_EQ(world.view->RowKeys().size(), rows.size()) << context;
        EXPECT_EQ(static_cast<size_t>(world.view->rowCount), rows.size()) << context;
        const bool told = std::ranges::any_of(
            world.host.messages, [](const std::wstring& m) { return m.find(L"memory") != m.npos; });
        EXPECT_EQ(told, rows.size() < clean.size()) << context;
        if (OneAfterTheOther()) {
            EXPECT_EQ(rows.size() < clean.size(), struck) << context;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fault, FaultItems,
                         ::testing::Values(Place{L"", 1}, Place{L"", 8}, Place{L"PC1", 1}, Place{L"PC1", 8}),
                         [](const auto& info) {
                             return std::string(info.param.computer[0] == 0 ? "Local" : "Remote") +
                                    std::to_string(info.param.inFlight);
                         });

// ---- Computers dropping off ----

// A row read from a computer that dropped off: its cells as they were up to the one that found the computer
// gone, "Not connected" there, and nothing after it. Answers the column of "Not connected", or -1 for a row
// read whole.
int ExpectCutRow(const Texts& row, const Texts& clean, const std::string& context) {
    SCOPED_TRACE(testing::PrintToString(row));
    const auto cut = std::ranges::find(row, kNotConnectedCell);
    const int at = cut == row.end() ? -1 : static_cast<int>(cut - row.begin());
    for (int c = 0; c < static_cast<int>(row.size()); ++c) {
        const std::wstring expected = at < 0 || c < at ? clean[c] : c == at ? kNotConnectedCell : L"";
        EXPECT_EQ(row[c], expected) << context << ", column " << c;
    }
    return at;
}

// The computer of a one-computer view drops at every point of the fill in turn, its listing included: the
// listing keeps what it got so far, each row is cut where the computer went, and one item after the other
// every row after the first cut shows "Not connected" in its first read column; the fill goes on to the end.
TEST(FaultDrops, ARemoteComputerDroppingAtAnyPointCutsTheRowsFromThere) {
    const std::wstring pc = L"PC1";
    for (const int inFlight : {1, 8}) {
        World probe;
        AddItems(probe.memory, pc);
        probe.Fill(kDefinition, pc, inFlight);
        const std::size_t calls = probe.memory.CallCount();
        for (std::size_t n = 0; n <= calls; n += inFlight == 1 ? 1 : 3) {
            const std::string context =
                "drop after " + std::to_string(n) + " calls, " + std::to_string(inFlight) + " in flight";
            World world;
            AddItems(world.memory, pc);
            world.memory.FaultBefore(MemoryRegistry::AfterCalls(n), [&] { world.memory.Disconnect(pc); });
            world.Fill(kDefinition, pc, inFlight);
            world.ExpectEnded(context);
            const Grid grid = world.Rows();
            ASSERT_LE(grid.size(), static_cast<size_t>(kItemCount)) << context;
            bool cutBefore = false;
            for (size_t r = 0; r < grid.size(); ++r) {
                const int cut = ExpectCutRow(grid[r], CleanRow(static_cast<int>(r), pc), context);
                if (inFlight == 1 && cutBefore) {
                    EXPECT_EQ(cut, 1) << context << ", row " << r;
                }
                cutBefore = cutBefore || cut >= 0;
            }
            if (n == calls) {
                EXPECT_EQ(grid, CleanGrid(pc)) << context;
            }
        }
    }
}

// Rows of several computers, some dropping after a random number of calls: every computer keeps its row,
// cut where its computer went; the rows of computers that stay are exact.
TEST(FaultDrops, ComputersDroppingMidFillCutOnlyTheirOwnRows) {
    const Texts computers = {L"PC1", L"PC2", L"", L"PC3", L"PC4", L"PC5", L"PC6"};
    for (unsigned seed = 1; seed <= 20; ++seed)
        for (const int inFlight : {1, 8}) {
            const std::string context = "seed " + std::to_string(seed) + ", " + std::to_string(inFlight);
            std::mt19937 random(seed);
            World world;
            std::set<std::wstring> dropping;
            for (const std::wstring& computer : computers) {
                AddItems(world.memory, computer, 4);
                if (!computer.empty() && random() % 2 == 0) {
                    world.memory.DisconnectAfter(computer, random() % 8);
                    dropping.insert(computer);
                }
            }
            ViewServices services = world.ForViews();
            services.readsInFlight = inFlight;
            world.view = std::make_unique<View>(services, world.host, 15);
            world.view->definition = kDefinition;
            world.view->NewCompuRows(L"HKLM\\" + ItemKey(3), computers);
            world.view->fillflex();
            world.ExpectEnded(context);
            const Grid grid = world.Rows();
            ASSERT_EQ(grid.size(), computers.size()) << context;
            for (size_t r = 0; r < grid.size(); ++r) {
                Texts clean = CleanRow(3, computers[r]);
                clean[0] = computers[r].empty() ? std::wstring(kLocalComputerRow) : computers[r];
                if (dropping.contains(computers[r])) {
                    ExpectCutRow(grid[r], clean, context);
                } else {
                    EXPECT_EQ(grid[r], clean) << context;
                }
            }
        }
}

// ---- Sizes ----

// 100,000 subkeys under one key, a condition keeping one in seven: the fill lists them all and keeps exactly
// those that pass.
TEST(FaultSizes, AKeyOf100000SubkeysFillsWithTheRowsThatPass) {
    World world;
    Texts passing;
    for (int i = 0; i < 100'000; ++i) {
        const std::wstring name = L"K" + std::to_wstring(1'000'000 + i);
        world.memory.SetDword(L"", HKLM, kItems + L"\\" + name, L"Kind", static_cast<std::uint32_t>(i % 7));
        if (i % 7 == 6)
            passing.push_back(name);
    }
    View& view = world.Fill(L"HKLM\\" + kItems + L",01,01,Many,|9,<key>,Key|9,Kind,Kind,*>5", L"", 1);
    world.ExpectEnded("100,000 subkeys");
    EXPECT_EQ(view.itemCount(), 100'000U);
    EXPECT_EQ(view.rowCount, static_cast<int>(passing.size()));
    Texts shown;
    for (const Texts& row : world.Rows())
        shown.push_back(row.at(0));
    EXPECT_EQ(shown, passing);
}

// Values of 1 MB, a string and binary data: the cells hold all of them, and so does the text the view
// exports (with a blank for each zero byte, as on the clipboard).
TEST(FaultSizes, ValuesOfOneMegabyteFillTheirCellsAndTheExportWhole) {
    World world;
    std::mt19937 random(7);
    std::wstring text;
    for (size_t i = 0; text.size() < 512 * 1024; ++i)
        text += L"line " + std::to_wstring(i) + L" \u00e9\u4e2d ";
    text.resize(512 * 1024 - 1); // 1 MB with its terminating zero
    std::vector<std::uint8_t> bytes(1024 * 1024);
    std::wstring blobCell;
    std::wstring blobExported;
    for (std::uint8_t& byte : bytes) {
        do
            byte = static_cast<std::uint8_t>(random());
        while (byte == '\t' || byte == '\r' || byte == '\n'); // these would split the exported row
        blobCell += static_cast<wchar_t>(byte);
        blobExported += byte == 0 ? L' ' : static_cast<wchar_t>(byte);
    }
    world.memory.SetString(L"", HKLM, ItemKey(0), L"Text", text);
    world.memory.SetBinary(L"", HKLM, ItemKey(0), L"Blob", bytes);

    View& view =
        world.Fill(L"HKLM\\" + kItems + L",012,012,Big,|9,<key>,Key|9,Text,Text|9,Blob,Blob", L"", 1);
    world.ExpectEnded("1 MB values");
    ASSERT_EQ(world.Rows(), (Grid{{ItemName(0), text, blobCell}}));
    const std::string exported = ExportText({view.grid, L"Big", L""}, ExportFormat::Text);
    EXPECT_EQ(exported, ToUtf8(L"\tKey\tText\tBlob\r\n1\t" + ItemName(0) + L"\t" + text + L"\t" +
                               blobExported + L"\r\n"));
}

// ---- Twelve wildcard levels ----

// A random tree of keys for a base with twelve "\*" levels and fixed "P" levels between some of them; some
// keys lack their "P", some have no subkeys where a wildcard needs them, some are denied. The model lists
// what the base matches in the order the registry lists subkeys.
struct KeyTree {
    std::map<std::wstring, KeyTree> children; // case-sensitive names that sort as the registry lists them
    bool denied = false;
};

const std::wstring kNestedBase = L"\\*\\*\\*\\P\\*\\*\\*\\P\\*\\*\\*\\P\\*\\*\\*";

void Grow(KeyTree& tree, std::wstring_view levels, std::mt19937& random) {
    if (levels.empty()) { // the items: the subkeys of the keys the whole base matches
        for (unsigned i = random() % 3; i > 0; --i)
            tree.children[L"i" + std::to_wstring(i)];
        return;
    }
    levels.remove_prefix(1);
    const size_t next = levels.find(L'\\');
    const std::wstring_view level = levels.substr(0, next);
    const std::wstring_view rest = next == std::wstring_view::npos ? L"" : levels.substr(next);
    if (level == L"P") {
        if (random() % 6 != 0) // a missing key: nothing below it
            Grow(tree.children[L"P"], rest, random);
        return;
    }
    const bool none = random() % 5 == 0;
    for (unsigned i = none ? 0 : 1 + random() % 3; i > 0; --i) {
        KeyTree& child = tree.children[L"k" + std::to_wstring(i)];
        child.denied = random() % 25 == 0;
        Grow(child, rest, random);
    }
}

void Store(const KeyTree& tree, MemoryRegistry& memory, const std::wstring& computer,
           const std::wstring& path) {
    memory.CreateKey(computer, HKLM, path);
    for (const auto& [name, child] : tree.children) {
        Store(child, memory, computer, path + L"\\" + name);
        if (child.denied)
            memory.Deny(computer, HKLM, path + L"\\" + name);
    }
}

// The items under `tree` for the levels left, each written relative to the base's fixed part.
void Match(const KeyTree& tree, std::wstring_view levels, const std::wstring& prefix, Texts& items) {
    if (levels.empty()) {
        for (const auto& [name, child] : tree.children)
            items.push_back(prefix + name);
        return;
    }
    levels.remove_prefix(1);
    const size_t next = levels.find(L'\\');
    const std::wstring level(levels.substr(0, next));
    const std::wstring_view rest = next == std::wstring_view::npos ? L"" : levels.substr(next);
    for (const auto& [name, child] : tree.children)
        if (!child.denied && (level == L"*" || name == level))
            Match(child, rest, prefix + name + L"\\", items);
}

TEST(FaultNesting, TwelveWildcardLevelsListWhatMatchesEvenWithEmptyAndMissingLevels) {
    size_t listed = 0;
    for (unsigned seed = 1; seed <= 10; ++seed)
        for (const Place place : {Place{L"", 1}, Place{L"PC1", 8}}) {
            const std::string context = "seed " + std::to_string(seed);
            std::mt19937 random(seed);
            KeyTree tree;
            Grow(tree, kNestedBase, random);
            Texts expected;
            Match(tree, kNestedBase, L"", expected);
            World world;
            Store(tree, world.memory, place.computer, kItems);
            View& view =
                world.Fill(L"HKLM\\" + kItems + kNestedBase + L",01,01,Deep,|9,<key>,Key|9,@,Default",
                           place.computer, place.inFlight);
            world.ExpectEnded(context);
            EXPECT_EQ(view.itemKeys, expected) << context;
            EXPECT_EQ(view.rowCount, static_cast<int>(expected.size())) << context;
            listed += expected.size();
        }
    EXPECT_GT(listed, 200U) << "trees too small to test anything";
}

} // namespace
} // namespace vantrel::test
