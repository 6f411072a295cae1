#include "engine/file_commands.h"

#include "engine/text.h"
#include "views/field.h"
#include "views/text.h"

#include <cstdio>

namespace vantrel {

std::wstring SizeKbText(std::uint64_t sizeBytes) {
    const double kb = static_cast<double>(sizeBytes) / 1024;
    std::wstring text = std::to_wstring(static_cast<std::uint64_t>(kb) + 1) + L"kB";
    if (sizeBytes > 1'000'000)
        text += L", " + std::to_wstring(static_cast<std::uint64_t>((kb + 512) / 1024)) + L"MB";
    return text;
}

std::wstring AttributesText(std::uint32_t attributes) {
    wchar_t hex[16];
    std::swprintf(hex, std::size(hex), L"%X", attributes);
    return L" 0x" + std::wstring(hex);
}

std::vector<std::wstring> OrderByMruList(const std::vector<ValueText>& values, std::wstring_view mruList) {
    std::vector<std::wstring> ordered;
    for (const wchar_t letter : mruList) {
        for (const ValueText& value : values) {
            if (value.name.size() == 1 && value.name[0] == letter) {
                ordered.push_back(value.text);
                break;
            }
        }
    }
    return ordered;
}

std::vector<std::wstring> OrderShellActions(std::wstring_view defaultValue,
                                            const std::vector<std::wstring>& actions) {
    std::vector<std::wstring> ordered;
    for (int n = 0;; ++n) {
        std::wstring field = GetField(defaultValue, L",", n);
        if (field.empty())
            break;
        // Character codes, so that the missing-value marker "?" and anything before it stay out.
        if (field > L"?")
            ordered.push_back(std::move(field));
    }
    for (const std::wstring& action : actions)
        if (defaultValue.find(action) == std::wstring_view::npos)
            ordered.push_back(action);
    return ordered;
}

std::wstring CommandLineFor(std::wstring_view command, std::wstring_view path) {
    std::wstring line(command);
    ReplaceFirst(line, L"/idlist,%I,%L", L"%1");
    ReplaceFirst(line, L"%L", L"%1");
    ReplaceFirst(line, L"/dde", L"");
    ReplaceFirst(line, L"%*", L"");
    line = TrimBlanks(line);
    if (line.find(L"%1") == std::wstring::npos)
        line += L" %1";
    return InsertPath(line, path);
}

std::wstring InsertPath(std::wstring_view commandLine, std::wstring_view path) {
    std::wstring line(commandLine);
    ReplaceFirst(line, L"%1", path);
    return line;
}

namespace {

// Each "%name%" pair replaced by the variable's value (empty when unset). The search goes on after the
// value put in, so a value holding "%" is not expanded again.
std::wstring ExpandVariables(std::wstring text, const Environment& environment) {
    size_t from = 0;
    for (;;) {
        const size_t open = text.find(L'%', from);
        if (open == std::wstring::npos)
            break;
        const size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos)
            break;
        const std::wstring value =
            environment.Variable(std::wstring_view(text).substr(open + 1, close - open - 1));
        text.replace(open, close - open + 1, value);
        from = open + value.size();
    }
    return text;
}

} // namespace

LaunchRequest LaunchRequestFor(std::wstring_view commandLine, std::wstring_view chosenEntry,
                               const Environment& environment) {
    std::wstring line = ExpandVariables(std::wstring(commandLine), environment);
    ReplaceFirst(line, L"%*", L"");
    const wchar_t separator = line.starts_with(L'"') ? L'"' : L' ';
    const size_t split = line.empty() ? std::wstring::npos : line.find(separator, 1);
    const std::wstring_view whole(line);
    const std::wstring_view program = split == std::wstring::npos ? whole : whole.substr(0, split + 1);
    const std::wstring_view parameters =
        split == std::wstring::npos ? std::wstring_view() : whole.substr(split + 1);
    return LaunchRequest{LowerCase(chosenEntry) == L"runas" ? L"runas" : L"open",
                         WithoutEnclosingQuotes(TrimBlanks(program)), std::wstring(TrimBlanks(parameters))};
}

std::wstring ExplorerCommandLine(std::wstring_view path, bool folder) {
    if (folder)
        return L"Explorer /e," + std::wstring(path);
    return L"Explorer /e," + PathOf(path) + L",/select," + std::wstring(path);
}

} // namespace vantrel
