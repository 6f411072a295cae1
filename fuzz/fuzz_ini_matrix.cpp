// The ini table of a view: the input is the ini file's text.
#include "engine/scripted_host.h"
#include "fuzz_input.h"
#include "ini_text.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    test::FakeViewServices services;
    test::ScriptedHost host;
    const fuzz::IniSections sections = fuzz::ParseIniText(input.Rest());
    services.ini.files[L"C:\\setup.ini"] = sections;

    View view(services.ForViews(), host, 15);
    view.viewKind = ViewKind::IniTable;
    view.folderPath = L"C:\\setup.ini";
    view.FillIniTable(services.ini);
    fuzz::Require(view.grid.Rows() == static_cast<int>(sections.size()) + 1);
    fuzz::Require(view.state() == ViewState::Idle);
    return 0;
}
