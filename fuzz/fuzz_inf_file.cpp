// The file properties that come from a token and from ini reads: a token asked of an installer package, then
// the text of a driver information file (.inf) whose title, subject and author are asked.
#include "engine/scripted_host.h"
#include "fuzz_input.h"
#include "ini_sections.h"
#include "sources/file_properties.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring token = input.Part();
    test::FakeIniFiles ini;
    ini.files[L"C:\\drivers\\device.inf"] =
        fuzz::IniSections(ParseIniText(fuzz::Utf16File(input.Rest()), PortableIniDecoders()));

    (void)MsiPropertyFor(token);
    for (const std::wstring_view asked : {std::wstring_view(token), std::wstring_view(L"title"),
                                          std::wstring_view(L"subject"), std::wstring_view(L"author")})
        (void)InfProperty(ini, L"C:\\drivers\\device.inf", asked);
    return 0;
}
