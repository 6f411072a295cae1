// Packed GUIDs: any text; packing is its own inverse for the 32 characters it reorders.
#include "fuzz_input.h"
#include "sources/packed_guid.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring text = input.Rest();

    const std::wstring once = PackedGuid(text);
    if (text.size() >= 32 && !text.starts_with(L'{'))
        fuzz::Require(PackedGuid(once) == text.substr(0, 32));
    return 0;
}
