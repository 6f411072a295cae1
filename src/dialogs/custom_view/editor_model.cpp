#include "dialogs/custom_view/editor_model.h"

#include "sources/registry_path.h"
#include "views/catalogue.h"
#include "views/field.h"
#include "views/order.h"
#include "views/text.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cwctype>

namespace vantrel {
namespace {

constexpr std::array<std::wstring_view, kEditorCols> kHeadings{L"Col",    L" Width",    L"Data",
                                                               L"Header", L"Condition", L""};
constexpr std::array<int, kEditorCols> kStartWidthsTwips{360, 600, 2040, 2000, 2000, 0};
static_assert(kEditorRows - 1 <= 16, "row labels are one hexadecimal digit");

constexpr int kDefaultWidthTwips = 1200;
constexpr std::wstring_view kCommittedWidth = L"50";

constexpr std::array<std::wstring_view, 8> kRegistryBasePrefixes{L"syste",  L"softw",  L"sam\\s", L"hkey_",
                                                                 L"hklm\\", L"hkcu\\", L"hkus\\", L"hkcr\\"};

constexpr std::wstring_view kComDlg32Key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
constexpr std::array<std::wstring_view, 9> kMruKeys{
    L"\\LastVisitedMRU",   L"\\OpenSaveMRU",      L"\\OpenSaveMRU\\*",
    L"\\OpenSaveMRU\\exe", L"\\OpenSaveMRU\\msi", L"\\OpenSaveMRU\\dll",
    L"\\OpenSaveMRU\\doc", L"\\OpenSaveMRU\\zip", L"\\OpenSaveMRU\\kvf"};
constexpr size_t kMaxMruValuesPerKey = 999;
constexpr size_t kMaxFavorites = 200;
constexpr std::wstring_view kFavoriteLocalMachine = L"HKEY_LOCAL";
constexpr std::wstring_view kFavoriteClassesRoot = L"HKEY_CLASS";
constexpr std::wstring_view kClassesUnderSoftware = L"Software\\Classes\\";
constexpr std::wstring_view kFavoritePrefix = L"My Computer\\HKEY_LOCAL_MACHINE\\";

constexpr size_t kMaxEnumAddItems = 400; // values, and subkeys, read per key
constexpr size_t kDataExcerptLength = 40;
constexpr std::wstring_view kNameDataSeparator = L" ~:~ ";
constexpr std::wstring_view kWildcardLevel = L"\\*";
constexpr int kMinHits = 3; // a data expression seen at least four times

constexpr std::wstring_view kFileTokensText =
    L"<keyfile>,<relpath>,<relfile>,<keypath>,Filesize,Filetime,Title,"
    L"Subject,Author,Keywords,ProductName,ProductCode,Manufacturer,"
    L"Comments,LastAuthor,Revision,Pages";

// What follows the first "\" (the whole text when there is none).
std::wstring_view AfterFirstBackslash(std::wstring_view text) {
    const size_t slash = text.find(L'\\');
    return slash == std::wstring_view::npos ? text : text.substr(slash + 1);
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::towlower(text[i]) != std::towlower(prefix[i]))
            return false;
    return true;
}

// The order of a sorted list box: letter case does not count; equal texts keep the order they came in.
void SortLikeListBox(std::vector<std::wstring>& texts) {
    std::vector<std::pair<std::wstring, std::wstring>> keyed;
    keyed.reserve(texts.size());
    for (std::wstring& text : texts)
        keyed.emplace_back(LowerCase(text), std::move(text));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = std::move(keyed[i].second);
}

// To the nearest whole number, halves to the even neighbour, whatever the floating-point rounding mode.
double RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

int WidthTwipsFromText(std::wstring_view text, int twipsPerPixel) {
    double pixels = 0;
    if (!ReadsAsNumber(text, pixels))
        return kDefaultWidthTwips;
    const double twips = RoundHalfToEven(pixels * twipsPerPixel);
    // A width too large for any screen counts as no number at all.
    if (!std::isfinite(twips) || twips == 0 || twips > INT_MAX || twips < INT_MIN)
        return kDefaultWidthTwips;
    return static_cast<int>(twips);
}

// The cells of one row of clip text, exactly as typed: no quoting, no trimming.
std::vector<std::wstring> CellsOf(std::wstring_view row) {
    std::vector<std::wstring> cells;
    for (;;) {
        const size_t tab = row.find(L'\t');
        cells.emplace_back(row.substr(0, tab));
        if (tab == std::wstring_view::npos)
            return cells;
        row.remove_prefix(tab + 1);
    }
}

std::wstring RowLabel(int row) {
    constexpr std::wstring_view kHexDigits = L"0123456789ABCDEF";
    return std::wstring(L"  ") + kHexDigits[static_cast<size_t>(row - 1)];
}

} // namespace

std::wstring SwapOrderChars(std::wstring_view s, std::wstring_view a, std::wstring_view b) {
    std::wstring upper(s);
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    const size_t p = a.empty() ? std::wstring::npos : upper.find(a);
    const size_t q = b.empty() ? std::wstring::npos : upper.find(b);
    std::wstring result;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i == p)
            result += b;
        else if (i == q)
            result += a;
        else
            result += s[i];
    }
    return result;
}

std::wstring CvtMbAsc(std::wstring_view bytes) {
    std::wstring kept;
    for (size_t i = 0; i < bytes.size() / 2; ++i)
        kept += bytes[2 * i];
    constexpr std::wstring_view kNul(L"\0", 1);
    return GetField(kept, kNul, 1) + L"\\" + GetField(kept, kNul, 0);
}

bool IsRegistryBase(std::wstring_view base) {
    const std::wstring start = LowerCase(base.substr(0, 5));
    return std::ranges::find(kRegistryBasePrefixes, start) != kRegistryBasePrefixes.end();
}

std::wstring EditedViewCaption(std::wstring_view caption) {
    if (caption.starts_with(L"Cust"))
        return L"Edited c" + std::wstring(caption.substr(1));
    if (!caption.starts_with(L"Edit"))
        return L"Edited - " + std::wstring(caption);
    return std::wstring(caption);
}

EditorModel::EditorModel() {
    grid.SetCols(kEditorCols);
    grid.SetRows(kEditorRows);
    for (int col = 0; col < kEditorCols; ++col) {
        grid.SetTextMatrix(0, col, std::wstring(kHeadings[static_cast<size_t>(col)]));
        grid.SetColWidth(col, kStartWidthsTwips[static_cast<size_t>(col)]);
    }
    for (int row = 1; row < kEditorRows; ++row)
        grid.SetTextMatrix(row, kLabelCol, RowLabel(row));
    grid.SetRow(1);
    grid.SetCol(1);
}

void EditorModel::Load(const ViewDefinition& view, std::wstring_view viewCaption, int twipsPerPixel) {
    caption = L"Editing: " + std::wstring(viewCaption);
    LoadDefinition(view, twipsPerPixel);
}

void EditorModel::LoadDefinition(const ViewDefinition& view, int twipsPerPixel) {
    base = view.head.base;
    colsOrder = view.head.colsOrder;
    colsOrderD = view.head.colsOrderD;
    for (int row = 1; row < kEditorRows; ++row)
        for (int col = kWidthCol; col < kEditorCols; ++col)
            grid.SetTextMatrix(row, col, L"");
    const int divisor = twipsPerPixel > 0 ? twipsPerPixel : kTwipsPerPixelAt96Dpi;
    for (int i = 0; i < kEditorRows - 1 && !view.column(i).data.empty(); ++i) {
        const ColumnSpec& column = view.column(i);
        const int row = i + 1;
        grid.SetTextMatrix(row, kWidthCol, std::to_wstring(column.widthTwips / divisor));
        grid.SetTextMatrix(row, kDataCol, column.data);
        grid.SetTextMatrix(row, kHeaderCol, column.header);
        grid.SetTextMatrix(row, kConditionCol, column.condition);
        grid.SetTextMatrix(row, kExtraCol, column.extra);
    }
}

void EditorModel::ResetForNewView() {
    LoadDefinition(ViewDefinition{}, kTwipsPerPixelAt96Dpi);
    grid.SetTextMatrix(1, kWidthCol, L"200");
    grid.SetTextMatrix(1, kDataCol, L"<key>");
    grid.SetTextMatrix(1, kHeaderCol, L"Enumerated keys");
    grid.SetTextMatrix(2, kDataCol, L"Press F4 for options..");
    caption = L"New registry view";
    base = std::wstring(kNewViewBase);
}

void EditorModel::ReadBack(ViewDefinition& view, int twipsPerPixel) const {
    int i = 0;
    for (; i + 1 < kEditorRows && !Data(i + 1).empty(); ++i) {
        const int row = i + 1;
        ColumnSpec& column = view.column(i);
        column.data = Data(row);
        column.widthTwips = WidthTwipsFromText(grid.TextMatrix(row, kWidthCol), twipsPerPixel);
        column.header = grid.TextMatrix(row, kHeaderCol);
        column.condition = grid.TextMatrix(row, kConditionCol);
        column.extra = grid.TextMatrix(row, kExtraCol);
    }
    view.column(i).data.clear();
    view.head.base = base;
    view.head.colsOrder = colsOrder;
    view.head.colsOrderD = colsOrderD;
}

void EditorModel::Activate(Registry& registry) {
    folderBase = !IsRegistryBase(base);
    if (folderBase)
        ShowFolderFrame(registry);
    else
        ShowBaseKeyFrame(registry);
    standardViews.clear();
    for (int n = 1; n <= kListedBuiltInViews; ++n)
        standardViews.push_back(BuiltInView(n, true));
}

void EditorModel::ShowFolderFrame(Registry& registry) {
    // C:\Windows\*.dll(2): folder C:\Windows\, mask *.dll, levels 2.
    const std::wstring maskAndLevels = FileNameOf(base);
    base = PathOf(base);
    std::wstring levelsText = GetField(maskAndLevels, L"(", 1);
    if (const size_t close = levelsText.find(L')'); close != std::wstring::npos)
        levelsText.erase(close, 1);
    SetLevels(levelsText);
    fileMask = GetField(maskAndLevels, L"(", 0);

    folder = base;
    folders.assign(1, folder);
    for (const std::wstring_view key : kMruKeys)
        ReadMruPaths(registry, std::wstring(kComDlg32Key) + std::wstring(key));

    std::vector<std::wstring> sorted(mruPaths.rbegin(), mruPaths.rend());
    SortLikeListBox(sorted);
    std::wstring previous;
    for (std::wstring& path : sorted) {
        std::wstring lower = LowerCase(path);
        if (lower == previous)
            continue;
        previous = std::move(lower);
        folders.push_back(std::move(path));
    }
}

void EditorModel::ReadMruPaths(Registry& registry, std::wstring_view key) {
    const std::vector<ValueText> values = registry.EnumValues(L"", RootKey::CurrentUser, key);
    const size_t used = std::min(values.size(), kMaxMruValuesPerKey);
    for (size_t v = 0; v < used && mruPaths.size() < static_cast<size_t>(kMaxMruPaths); ++v) {
        if (values[v].name.starts_with(L"MRU")) // MRUList: the order, not a path
            continue;
        std::wstring path = values[v].text;
        if (path.size() >= 4 && path[1] == L'\0')
            path = CvtMbAsc(path);
        if (!path.empty())
            mruPaths.push_back(PathOf(path));
    }
}

void EditorModel::ShowBaseKeyFrame(Registry& registry) {
    baseKey = base;
    baseKeys.assign(1, baseKey);
    std::vector<ValueText> favorites = registry.EnumValues(L"", RootKey::CurrentUser, kRegeditFavoritesKey);
    favorites.resize(std::min(favorites.size(), kMaxFavorites));
    // Regedit stores "My Computer\HKEY_...\path"; the editor's keys are local-machine paths.
    for (auto favorite = favorites.rbegin(); favorite != favorites.rend(); ++favorite) {
        const std::wstring_view key = AfterFirstBackslash(favorite->text);
        if (key.starts_with(kFavoriteLocalMachine))
            baseKeys.emplace_back(AfterFirstBackslash(key));
        else if (key.starts_with(kFavoriteClassesRoot))
            baseKeys.push_back(std::wstring(kClassesUnderSoftware) + std::wstring(AfterFirstBackslash(key)));
    }
}

void EditorModel::FitDataColumn(int gridWidthTwips) {
    int others = 0;
    for (int col = 0; col < kEditorCols; ++col)
        if (col != kDataCol)
            others += grid.ColWidth(col);
    const int filling = gridWidthTwips - kGridFillMarginTwips - others;
    if (filling > grid.ColWidth(kDataCol))
        grid.SetColWidth(kDataCol, filling);
}

bool EditorModel::CanEdit(int row, int col) const {
    if (row < 1 || row >= kEditorRows || col < 1 || col >= kEditorCols)
        return false;
    if (row == 1 && col == kDataCol) // the row key's data expression is fixed
        return false;
    return !Data(row - 1).empty(); // rows fill from the top without gaps
}

bool EditorModel::BeginEdit(int row, int col) {
    if (!CanEdit(row, col))
        return false;
    editCell = row * kEditorCols + col;
    return true;
}

void EditorModel::Commit(std::wstring_view text) {
    if (editCell == 0)
        return;
    const int row = editCell / kEditorCols;
    grid.SetTextMatrix(row, editCell % kEditorCols, std::wstring(text));
    editCell = 0;

    const std::wstring data(Data(row));
    if (!data.empty() && grid.TextMatrix(row, kWidthCol).empty())
        grid.SetTextMatrix(row, kWidthCol, std::wstring(kCommittedWidth));
    if (grid.TextMatrix(row, kHeaderCol).empty())
        grid.SetTextMatrix(row, kHeaderCol, FileNameOf(data));
    // "InprocServer32\" reads the key's default value: its header is the key's name.
    if (grid.TextMatrix(row, kHeaderCol).empty() && !data.empty())
        grid.SetTextMatrix(row, kHeaderCol, FileNameOf(std::wstring_view(data).substr(0, data.size() - 1)));
}

void EditorModel::SwapRows(int r) {
    for (int col = kWidthCol; col < kEditorCols; ++col) {
        std::wstring upper(TrimBlanks(grid.TextMatrix(r, col)));
        std::wstring lower(TrimBlanks(grid.TextMatrix(r + 1, col)));
        grid.SetTextMatrix(r, col, std::move(lower));
        grid.SetTextMatrix(r + 1, col, std::move(upper));
    }
}

void EditorModel::MoveRows(RowOperation operation) {
    int r = operation == RowOperation::Up ? grid.Row() - 1 : grid.Row();
    // Row 1, the row key, can be neither moved nor erased, and nothing moves above it.
    if (r <= 1)
        return;
    if (r < kLastEditorRow)
        grid.SetRow(operation == RowOperation::Down ? r + 1 : r);

    const bool ordersFollow = operation == RowOperation::Erase || sameOrder;
    // Erase carries the erased column down to the last filled row, so the columns below move up.
    while (r < kLastEditorRow && !Data(r + 1).empty()) {
        SwapRows(r);
        if (ordersFollow) {
            const std::wstring a(TrimBlanks(grid.CellText(r, kLabelCol)));
            const std::wstring b(TrimBlanks(grid.CellText(r + 1, kLabelCol)));
            colsOrder = SwapOrderChars(colsOrder, a, b);
            colsOrderD = SwapOrderChars(colsOrderD, a, b);
        }
        ++r;
        if (operation != RowOperation::Erase)
            break;
    }
    if (operation == RowOperation::Erase) {
        for (int col = kWidthCol; col < kEditorCols; ++col)
            grid.SetTextMatrix(r, col, L"");
        const std::wstring erased(TrimBlanks(grid.CellText(r, kLabelCol)));
        colsOrder = SwapOrderChars(colsOrder, erased, L"");
        colsOrderD = SwapOrderChars(colsOrderD, erased, L"");
    }
}

void EditorModel::AllColumns() {
    std::wstring all;
    for (int row = 1; row < kEditorRows; ++row)
        if (!Data(row).empty())
            all += ColumnKeyName(row - 1);
    colsOrderD = all;
    if (colsOrder.empty())
        colsOrder = all;
}

void EditorModel::Accept() {
    if (!folderBase) {
        base = baseKey;
        return;
    }
    base = folder;
    if (!base.ends_with(L'\\'))
        base += L'\\';
    base += fileMask + L"(" + levels + L")";
}

void EditorModel::SetSpinValue(int value) {
    if (value < -kMaxLevels || value > 0 || value == spinValue_)
        return;
    spinValue_ = value;
    levels = std::to_wstring(-value);
}

void EditorModel::SetLevels(std::wstring_view text) {
    levels = text;
    double count = 0;
    if (!ReadsAsNumber(text, count))
        return;
    const double value = -RoundHalfToEven(count);
    if (value >= -kMaxLevels && value <= 0)
        spinValue_ = static_cast<int>(value);
}

void EditorModel::LevelsStep(int delta) {
    SetSpinValue(spinValue_ + delta);
}

std::vector<std::wstring> EditorModel::DataEditorEntries(Registry& registry, size_t currentEntries) {
    if (folderBase)
        return currentEntries >= 2 ? std::vector<std::wstring>() : FileTokens();
    const bool built = DataListIsFor(baseKey);
    if (currentEntries >= 2 && built)
        return {};
    if (!built)
        BuildDataList(registry);
    return dataList;
}

bool EditorModel::DataListIsFor(std::wstring_view key) const {
    return !dataList.empty() && LowerCase(dataListKey_) == LowerCase(key);
}

void EditorModel::BuildDataList(Registry& registry) {
    dataList.clear();
    dataListKey_ = baseKey;
    EnumAdd(registry, baseKey, L"");

    // Entries are "rowkey\path\name ~:~ data"; the expression a view would use is "path\name".
    const bool twoLevelRows = baseKey.ends_with(kWildcardLevel);
    std::vector<std::wstring> keys;
    std::vector<int> hits;
    for (const std::wstring& entry : dataList) {
        std::wstring_view key = AfterFirstBackslash(entry);
        if (twoLevelRows)
            key = AfterFirstBackslash(key);
        key = key.substr(0, key.find(kNameDataSeparator));
        const auto seen =
            std::ranges::find_if(keys, [&](const std::wstring& kept) { return StartsWithNoCase(kept, key); });
        if (seen != keys.end()) {
            ++hits[static_cast<size_t>(seen - keys.begin())];
        } else {
            keys.emplace_back(key);
            hits.push_back(0);
        }
    }

    dataList.clear();
    for (size_t i = 0; i < keys.size(); ++i)
        if (hits[i] >= kMinHits)
            dataList.push_back(std::move(keys[i]));
    SortLikeListBox(dataList);
}

void EditorModel::EnumAdd(Registry& registry, const std::wstring& bas, const std::wstring& ind) {
    constexpr size_t kFull = kMaxDataListEntries;
    // The base key's own values belong to no row.
    if (!ind.empty()) {
        const std::vector<ValueText> values = registry.EnumValues(L"", RootKey::FromPath, bas);
        const size_t used = std::min(values.size(), kMaxEnumAddItems);
        for (size_t v = 0; v < used && dataList.size() < kFull; ++v)
            dataList.push_back(ind + values[v].name + std::wstring(kNameDataSeparator) +
                               values[v].text.substr(0, kDataExcerptLength));
    }
    const std::wstring fixed = bas.substr(0, bas.find(kWildcardLevel));
    const std::vector<std::wstring> names = registry.EnumKeys(L"", RootKey::FromPath, bas, true);
    const size_t used = std::min(names.size(), kMaxEnumAddItems);
    for (size_t k = 0; k < used && dataList.size() < kFull; ++k) {
        const std::wstring& name = names[k];
        // A name several levels deep (from a wildcard) stands for one row: "B".
        const bool severalLevels = name.find(L'\\', 1) != std::wstring::npos;
        EnumAdd(registry, fixed + L"\\" + name, ind + (severalLevels ? std::wstring(L"B") : name) + L"\\");
    }
}

void EditorModel::BaseKeyChanged(std::wstring_view text) {
    baseKey = text;
    if (!DataListIsFor(baseKey))
        dataList.clear();
}

void EditorModel::SetSelectionText(std::wstring_view text) {
    std::vector<std::vector<std::wstring>> rows;
    for (std::wstring_view rest = text;;) {
        const size_t end = rest.find(L'\r');
        rows.push_back(CellsOf(rest.substr(0, end)));
        if (end == std::wstring_view::npos)
            break;
        rest.remove_prefix(end + 1);
        if (rest.starts_with(L'\n'))
            rest.remove_prefix(1);
    }
    const int top = std::min(grid.Row(), grid.RowSel());
    const int bottom = std::max(grid.Row(), grid.RowSel());
    const int left = std::min(grid.Col(), grid.ColSel());
    const int right = std::max(grid.Col(), grid.ColSel());
    for (int row = std::max(top, 1); row <= bottom; ++row) {
        const size_t r = static_cast<size_t>(row - top);
        for (int col = std::max(left, 1); col <= right; ++col) {
            const size_t c = static_cast<size_t>(col - left);
            const bool given = r < rows.size() && c < rows[r].size();
            grid.SetTextMatrix(row, col, given ? rows[r][c] : std::wstring());
        }
    }
}

long EditorModel::AddBaseKeyToFavorites(Registry& registry) const {
    return registry.WriteValue(RootKey::CurrentUser, kRegeditFavoritesKey, kRegeditFavoriteName,
                               std::wstring(kFavoritePrefix) + baseKey, regtype::kSz);
}

std::wstring EditorModel::ExplorerCommand() const {
    return L"Explorer.exe /e," + folder;
}

const std::vector<std::wstring>& EditorModel::ConditionExamples() {
    static const std::vector<std::wstring> examples{L"    (some examples: ",     L"*>  (and not empty)",
                                                    L"+>0  (or positive)",       L"*=..  (and equals ..)",
                                                    L"+=%3% (equals Col3 data)", L"*^..  (and not equal)",
                                                    L"+^.. (or not equal ..)"};
    return examples;
}

const std::vector<std::wstring>& EditorModel::ExtraExamples() {
    static const std::vector<std::wstring> examples{L"%1 (Launch)", L"%1 -qb (Launch)", L"Notepad %1",
                                                    L"<INS>", L"<TLB>"};
    return examples;
}

const std::vector<std::wstring>& EditorModel::FileTokens() {
    static const std::vector<std::wstring> tokens = SplitFields(kFileTokensText, L",");
    return tokens;
}

} // namespace vantrel
