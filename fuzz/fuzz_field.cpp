// GetField and SplitFields: a field number, a separator of up to three characters, and the text.
#include "fuzz_input.h"
#include "views/field.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const int n = static_cast<std::int8_t>(input.Byte());
    const std::wstring separator = input.Text(input.Byte() % 4);
    const std::wstring text = input.Rest();

    const std::wstring field = GetField(text, separator, n);
    fuzz::Require(field.size() <= text.size());
    const std::vector<std::wstring> fields = SplitFields(text, separator);
    fuzz::Require(!fields.empty());
    // Field by field GetField agrees with the split, and is empty past the last field; but for the "=" rest
    // rule.
    const bool restRule = separator == L"=" && n == 1;
    if (n >= 0 && !restRule)
        fuzz::Require(field ==
                      (static_cast<size_t>(n) < fields.size() ? fields[static_cast<size_t>(n)] : L""));
    (void)TrimBlanks(text);
    return 0;
}
