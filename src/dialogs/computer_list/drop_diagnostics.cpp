#include "dialogs/computer_list/drop_diagnostics.h"

#include "platform/drop_target.h"
#include "ui/messages.h"

#include <cwchar>

namespace vantrel {
namespace {

constexpr int kFirstRegisteredFormat = 49036;
constexpr int kLastRegisteredFormat = 50536;
constexpr int kFirstStandardFormat = -20;
constexpr int kLastStandardFormat = 200;
constexpr int kNameWidth = 20;
constexpr size_t kDataShown = 60;

constexpr const wchar_t* kQuestion = L"Drag and drop computers from explorer.\r\r"
                                     L"You did not drop a computer name, did you? \r\r"
                                     L"See debug info?";

// Format numbers as the clipboard keeps them: 16 bits, so -20 is FFEC.
CLIPFORMAT AsFormat(int number) {
    return static_cast<CLIPFORMAT>(number);
}

std::wstring Hex(CLIPFORMAT format) {
    wchar_t text[8]{};
    std::swprintf(text, 8, L"%X", static_cast<unsigned>(format));
    return text;
}

std::wstring DataStart(IDataObject* data, CLIPFORMAT format) {
    const std::optional<std::string> bytes = BytesOf(data, format);
    if (!bytes)
        return {};
    return AnsiToWide(bytes->substr(0, kDataShown));
}

// The registered name in a field of 20, the unused rest of the field shown as "·".
std::wstring NameField(CLIPFORMAT format) {
    std::wstring name(kNameWidth, L'\0');
    GetClipboardFormatNameW(format, name.data(), kNameWidth);
    for (wchar_t& c : name)
        if (c == L'\0')
            c = L'\u00B7';
    return name;
}

} // namespace

bool DropDiagnosticsWanted() {
    return GetFileAttributesW(L"C:\\DbgMsg") != INVALID_FILE_ATTRIBUTES;
}

std::wstring DropDiagnostics(IDataObject* data) {
    std::wstring lines;
    const auto addLine = [&lines](const std::wstring& line) {
        if (!lines.empty())
            lines += L'\r';
        lines += line;
    };
    for (int number = kFirstRegisteredFormat; number <= kLastRegisteredFormat; ++number) {
        const CLIPFORMAT format = AsFormat(number);
        if (Hex(format) == L"C006" || !Offers(data, format))
            continue;
        addLine(NameField(format) + L"(" + Hex(format) + L"): " + DataStart(data, format));
    }
    for (int number = kFirstStandardFormat; number <= kLastStandardFormat; ++number) {
        const CLIPFORMAT format = AsFormat(number);
        if (!Offers(data, format))
            continue;
        std::wstring start = DataStart(data, format);
        for (wchar_t& c : start)
            if (c == L'\0')
                c = L'.';
        addLine(Hex(format) + L": " + start);
    }
    return lines;
}

void OfferDropDiagnostics(Messages& messages, HWND owner, IDataObject* data) {
    if (!DropDiagnosticsWanted())
        return;
    if (messages.Message(owner, kQuestion, MB_YESNO | MB_DEFBUTTON2) == IDYES)
        messages.Message(owner, DropDiagnostics(data), MB_OK);
}

} // namespace vantrel
