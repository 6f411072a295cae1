#pragma once
// Test doubles of what a view reaches outside the engine: a scripted window, files, computers and the
// environment, each recording what the engine asked of it.
#include "engine/view.h"
#include "support/memory_registry.h"
#include "views/text.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vantrel::test {

class ScriptedHost : public ViewHost {
public:
    std::wstring Caption() const override { return caption; }
    void SetCaption(std::wstring_view text) override {
        caption = text;
        captions.push_back(caption);
    }
    void SetBusyPointer(bool busy) override { this->busy = busy; }
    void ShowCancelCommand(bool shown) override { cancelShown = shown; }
    void ShowMessage(std::wstring_view text) override { messages.emplace_back(text); }
    bool AskYesNo(std::wstring_view text) override {
        messages.emplace_back(text);
        return yesNoAnswer;
    }
    std::wstring AskText(std::wstring_view prompt) override {
        prompts.emplace_back(prompt);
        return textAnswer;
    }
    void LetEventsRun() override {
        ++eventRuns;
        if (onEvents)
            onEvents();
    }
    bool IsMaximized() const override { return maximized; }
    void RestoreSize() override { maximized = false; }
    void FitToTable() override { ++fits; }
    void Redraw() override {}
    int ListMode() const override { return listMode; }
    std::wstring StartFile() const override { return startFile; }

    std::wstring caption;
    std::vector<std::wstring> captions;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> prompts;
    std::wstring textAnswer;
    bool yesNoAnswer = false;
    bool busy = false;
    bool cancelShown = false;
    bool maximized = false;
    int listMode = 0;
    int eventRuns = 0;
    int fits = 0;
    std::wstring startFile;
    std::function<void()> onEvents;
};

// A folder of files, each with its properties by token (lower case).
class FakeFiles : public FileSource {
public:
    // Asks the check before each file, as a walk asks it between folders.
    std::vector<std::wstring> FolderWalk(std::wstring_view folder, std::wstring_view patterns, int depth,
                                         const WalkCheck& keepWalking) override {
        walks.push_back(std::wstring(folder) + L"|" + std::wstring(patterns) + L"|" + std::to_wstring(depth));
        std::vector<std::wstring> walked;
        for (const std::wstring& file : files) {
            if (keepWalking && !keepWalking())
                break;
            walked.push_back(file);
        }
        return walked;
    }
    bool FolderHasEntries(std::wstring_view) override { return !files.empty(); }
    bool PathExists(std::wstring_view path) override { return existing.contains(LowerCase(path)); }
    std::wstring FileProperty(std::wstring_view path, std::wstring_view token, std::wstring_view,
                              RowFileCache&) override {
        const auto file = properties.find(std::wstring(path));
        if (file == properties.end())
            return L"?";
        const auto value = file->second.find(LowerCase(token));
        return value == file->second.end() ? L"" : value->second;
    }

    std::vector<std::wstring> files;
    std::map<std::wstring, std::map<std::wstring, std::wstring>> properties;
    std::vector<std::wstring> walks;
    std::set<std::wstring> existing; // lower-case paths of files and folders
};

class FakeComputers : public ComputerStatus {
public:
    int CheckSta(std::wstring_view computer) override {
        asked.emplace_back(computer);
        return unreachable.contains(std::wstring(computer)) ? 3 : 1;
    }
    std::set<std::wstring> unreachable;
    std::vector<std::wstring> asked;
};

// Ini files held in memory: sections in file order, each with its "key=value" entries.
class FakeIniFiles : public IniFiles {
public:
    bool ReadAhead(std::wstring_view file, const std::function<bool()>& keepGoing) override {
        return readAhead ? readAhead(file, keepGoing) : true;
    }
    std::vector<std::wstring> SectionNames(std::wstring_view file) override {
        ++sectionNameReads;
        std::vector<std::wstring> names;
        for (const auto& [name, entries] : files[std::wstring(file)])
            names.push_back(name);
        return names;
    }
    std::vector<std::wstring> SectionEntries(std::wstring_view file, std::wstring_view section) override {
        if (onSectionRead)
            onSectionRead(section);
        for (const auto& [name, entries] : files[std::wstring(file)])
            if (LowerCase(name) == LowerCase(section))
                return entries;
        return {};
    }
    std::wstring ReadIniValue(std::wstring_view file, std::wstring_view section,
                              std::wstring_view key) override {
        for (const std::wstring& entry : SectionEntries(file, section))
            if (LowerCase(entry.substr(0, entry.find(L'='))) == LowerCase(key))
                return entry.substr(entry.find(L'=') + 1);
        return {};
    }
    WriteResult WriteIniValue(std::wstring_view file, std::wstring_view section, std::wstring_view key,
                              std::wstring_view value) override {
        if (writeFailure != 0)
            return std::unexpected(WriteFailure{writeFailure});
        auto& sections = files[std::wstring(file)];
        auto found = std::ranges::find_if(
            sections, [&](const auto& s) { return LowerCase(s.first) == LowerCase(section); });
        if (found == sections.end())
            found = sections.insert(sections.end(), {std::wstring(section), {}});
        std::wstring entry = std::wstring(key) + L"=" + std::wstring(value);
        for (std::wstring& existing : found->second)
            if (LowerCase(existing.substr(0, existing.find(L'='))) == LowerCase(key)) {
                existing = std::move(entry);
                return {};
            }
        found->second.push_back(std::move(entry));
        return {};
    }

    std::map<std::wstring, std::vector<std::pair<std::wstring, std::vector<std::wstring>>>> files;
    int sectionNameReads = 0;
    std::function<void(std::wstring_view)> onSectionRead;
    // How a read ahead goes; none: it reads nothing and succeeds.
    std::function<bool(std::wstring_view, const std::function<bool()>&)> readAhead;
    std::uint32_t writeFailure = 0; // the system error every write fails with; 0: writes succeed
};

class FakeEnvironment : public Environment {
public:
    std::wstring Variable(std::wstring_view name) const override {
        const auto found = variables.find(LowerCase(name));
        return found == variables.end() ? std::wstring() : found->second;
    }
    std::map<std::wstring, std::wstring> variables; // lower-case names
};

// Every service a view reaches, faked: in-memory registries, files, computers, environment and ini files.
struct FakeViewServices {
    MemoryRegistry memory;
    Registry registry{memory};
    FakeFiles files;
    FakeComputers computers;
    FakeEnvironment environment;
    MatchList matchList;
    FakeIniFiles ini;

    ViewServices ForViews() { return {registry, files, computers, environment, matchList, ini}; }
};

} // namespace vantrel::test
