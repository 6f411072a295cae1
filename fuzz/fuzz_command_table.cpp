// The command table's fixed-width rows: the computer box's width in two bytes, then the table.
#include "fuzz_input.h"
#include "shell/command_table.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const int boxWidthTwips = input.Byte() | (input.Byte() << 8);
    const std::wstring table = input.Rest();

    const std::vector<ToolbarEntry> entries = ParseCommandTable(table, boxWidthTwips);
    fuzz::Require(entries.size() == (table.size() + kCommandRowLength - 1) / kCommandRowLength);
    return 0;
}
