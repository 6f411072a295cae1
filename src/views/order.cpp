#include "views/order.h"

namespace vantrel {

int DigitValue(wchar_t c) {
    if (c >= L'A' && c <= L'Z')
        c = static_cast<wchar_t>(c - L'A' + L'a');
    const size_t index = kOrderAlphabet.find(c);
    return index == std::wstring_view::npos ? -1 : static_cast<int>(index);
}

wchar_t OrderCharacter(int index) {
    if (index < 0 || index >= static_cast<int>(kOrderAlphabet.size()))
        return 0;
    return kOrderAlphabet[static_cast<size_t>(index)];
}

wchar_t ColumnKeyName(int index) {
    if (index >= 0 && index <= 9)
        return static_cast<wchar_t>(L'0' + index);
    return static_cast<wchar_t>(index + 55);
}

} // namespace vantrel
