// The ini reader and the ini table of a view: the input is a byte that says where to cut the file in two,
// then the file's bytes. The file read in two pieces must answer as the file read whole, and the table shows
// a row for each of its sections.
#include "engine/scripted_host.h"
#include "fuzz_input.h"
#include "ini_sections.h"

using namespace vantrel;

namespace {

bool SameAnswers(const IniText& a, const IniText& b) {
    const std::vector<std::wstring> names = a.SectionNames();
    if (names != b.SectionNames())
        return false;
    for (const std::wstring& name : names) {
        const std::vector<std::wstring> entries = a.SectionEntries(name);
        if (entries != b.SectionEntries(name))
            return false;
        for (const std::wstring& entry : entries) {
            const std::wstring key = entry.substr(0, entry.find(L'='));
            if (a.Value(name, key) != b.Value(name, key))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::uint8_t cut = input.Byte();
    const std::span<const std::uint8_t> rest = input.RestBytes();
    const std::string_view bytes(reinterpret_cast<const char*>(rest.data()), rest.size());
    const IniDecoders decoders = PortableIniDecoders();

    const IniText whole = ParseIniText(bytes, decoders);
    IniTextReader reader(decoders, bytes.size());
    const std::size_t at = bytes.size() * cut / 255;
    reader.Add(bytes.substr(0, at));
    reader.Add(bytes.substr(at));
    fuzz::Require(SameAnswers(whole, reader.Finish()));

    test::FakeViewServices services;
    test::ScriptedHost host;
    services.ini.files[L"C:\\setup.ini"] = fuzz::IniSections(whole);
    const size_t sections = whole.SectionNames().size();

    View view(services.ForViews(), host, 15);
    view.viewKind = ViewKind::IniTable;
    view.folderPath = L"C:\\setup.ini";
    view.FillIniTable(services.ini);
    fuzz::Require(view.grid.Rows() == static_cast<int>(sections) + 1);
    fuzz::Require(view.state() == ViewState::Idle);
    return 0;
}
