// Custom view files (.kvf): the input is the file's ini text; what was read is written and read again, and
// comes back the same.
#include "engine/scripted_host.h"
#include "fuzz_input.h"
#include "ini_sections.h"
#include "views/custom_view_file.h"

using namespace vantrel;

namespace {
constexpr int kLastWrittenColumn = 39; // the highest column an order names, and so the last one written
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const int twipsPerPixel = input.Byte() % 32 + 1;
    test::FakeIniFiles ini;
    ini.files[L"view.kvf"] =
        fuzz::IniSections(ParseIniText(fuzz::Utf16File(input.Rest()), PortableIniDecoders()));

    ViewDefinition view;
    ReadCustomView(ini, L"view.kvf", view, twipsPerPixel);
    fuzz::Require(WriteCustomView(ini, L"copy.kvf", view, twipsPerPixel).has_value());
    ViewDefinition copy;
    ReadCustomView(ini, L"copy.kvf", copy, twipsPerPixel);
    fuzz::Require(copy.head == view.head);
    // The columns written come back as they were, but for their widths (pixels, and rounded).
    for (int i = 0; i <= kLastWrittenColumn && !view.column(i).data.empty(); ++i) {
        ColumnSpec written = copy.column(i);
        written.widthTwips = view.column(i).widthTwips;
        fuzz::Require(written == view.column(i));
    }
    return 0;
}
