// View definition strings: parsed, written back, and parsed and written again, which must give the same text.
#include "fuzz_input.h"
#include "views/definition.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const int twipsPerPixel = input.Byte() % 32 + 1;
    const std::wstring text = input.Rest();

    ViewDefinition view = ParseDefinition(text, twipsPerPixel);
    const std::wstring written = MakCGp(view, twipsPerPixel);
    fuzz::Require(MakCGp(ParseDefinition(written, twipsPerPixel), twipsPerPixel) == written);
    // A new parse over a parsed view keeps its widths and takes everything else.
    GetCico(written, view, twipsPerPixel);
    fuzz::Require(MakCGp(view, twipsPerPixel) == written);
    return 0;
}
