// Row conditions as a row's evaluation reads them, and the substitution of values and references: the
// condition, the value it compares, some values of the row's columns, the data variable and an environment
// variable, then a text to substitute on its own.
#include "engine/scripted_host.h"
#include "engine/text.h"
#include "fuzz_input.h"
#include "views/condition.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring condition = input.Part();
    const std::wstring value = input.Part();
    test::FakeViewServices services;
    test::ScriptedHost host;
    View view(services.ForViews(), host, 15);
    for (int n = input.Byte() % 8; n > 0; --n)
        view.rowValues[input.Byte() % view.rowValues.size()] = input.Part();
    // The data variable is given already: nothing is asked.
    view.dataVariable = input.Part();
    if (view.dataVariable.empty())
        view.dataVariable = L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}";
    const std::wstring name = input.Part();
    services.environment.variables[LowerCase(name)] = input.Part();
    const std::wstring text = input.Rest();

    const std::wstring stored(CutCondition(condition));
    fuzz::Require(ReadCondition(stored) == ReadCondition(condition));
    const ConditionParts parts = ReadCondition(stored);
    const wchar_t op = stored.size() > 1 ? stored[1] : L'\0';
    (void)CompareValues(op, view.StrCVar(value), LowerCase(view.StrCVar(parts.reference)));
    (void)view.StrCVar(text);
    (void)view.StrVVar(text);
    (void)view.StrEVar(text);
    fuzz::Require(host.prompts.empty());
    return 0;
}
