#pragma once
// Answers the program's questions in place of a person and remembers what was asked.
#include "shell/prompter.h"
#include "support/recording_launcher.h"
#include "views/text.h"

#include <functional>
#include <string>
#include <vector>

namespace vantrel::test {

class ScriptedPrompter final : public Prompter {
public:
    int Message(HWND, std::wstring_view text, UINT) override {
        messages.emplace_back(text);
        return messageAnswer;
    }
    int TitledMessage(HWND owner, std::wstring_view text, std::wstring_view title, UINT buttons) override {
        titles.emplace_back(title);
        return Message(owner, text, buttons);
    }
    std::optional<std::wstring> Input(HWND, std::wstring_view prompt, std::wstring_view) override {
        prompts.emplace_back(prompt);
        return inputAnswer;
    }

    std::optional<NewViewChoice> ChooseNewView(HWND) override {
        ++newViewDialogs;
        return newViewChoice;
    }

    std::wstring FileDialog(HWND, FileDialogRequest& request) override {
        fileDialogs.push_back(request);
        if (!fileDialogAnswer.empty()) { // as the dialog does: the chosen folder and name come back
            request.folder = PathOf(fileDialogAnswer);
            request.fileName = FileNameOf(fileDialogAnswer);
        }
        return fileDialogAnswer;
    }

    bool EditView(HWND, ViewEditRequest& request) override {
        editRequests.push_back(request);
        return editView && editView(request);
    }

    std::optional<std::wstring> ChooseComputer(HWND) override {
        ++computerDialogs;
        return computerAnswer;
    }
    std::vector<std::wstring> ChooseComputers(HWND, std::wstring_view rowcol) override {
        computerRowcols.emplace_back(rowcol);
        return computersAnswer;
    }

    std::vector<HWND> ChooseViewsToMerge(HWND, std::wstring_view currentCaption,
                                         const std::vector<MergeCandidate>& others) override {
        mergeCurrentCaptions.emplace_back(currentCaption);
        mergeOffers.push_back(others);
        return chooseToMerge ? chooseToMerge(others) : std::vector<HWND>{};
    }

    bool EditRegistryValue(HWND, RegistryValueEdit& edit) override {
        valueEdits.push_back(edit);
        if (whileEditing)
            whileEditing();
        if (!typedData)
            return false;
        edit.newData = *typedData;
        return true;
    }

    void ShowFileProperties(HWND, std::wstring_view path) override { fileProperties.emplace_back(path); }
    std::optional<ViewContents> SelectViewContents(HWND, const ViewContents& start) override {
        contentsStarts.push_back(start);
        return chooseContents ? chooseContents(start) : std::nullopt;
    }
    FileLauncher& launcher() override { return recordingLauncher; }
    void ShowArticle(HWND, std::wstring_view article, std::wstring_view searchAddress) override {
        articles.push_back(std::wstring(article) + L" at " + std::wstring(searchAddress));
    }

    std::vector<std::wstring> messages;
    std::vector<std::wstring> fileProperties; // the paths shown
    std::vector<std::wstring> articles;       // "KB123456 at <search address>"
    std::vector<ViewContents> contentsStarts; // how the selection form started, each time
    std::function<std::optional<ViewContents>(const ViewContents&)> chooseContents; // nothing: cancelled
    RecordingLauncher recordingLauncher;
    std::vector<RegistryValueEdit> valueEdits;
    std::optional<std::wstring> typedData; // "M&odify" with this text; nothing: "&Close"
    std::function<void()> whileEditing;    // what happens elsewhere while the editor is open
    std::vector<std::wstring> titles;      // of the titled messages
    std::vector<std::wstring> mergeCurrentCaptions;
    std::vector<std::vector<MergeCandidate>> mergeOffers;
    std::function<std::vector<HWND>(const std::vector<MergeCandidate>&)> chooseToMerge;
    int computerDialogs = 0;
    std::optional<std::wstring> computerAnswer;
    std::vector<std::wstring> computerRowcols;
    std::vector<std::wstring> computersAnswer;
    std::vector<ViewEditRequest> editRequests;
    std::function<bool(ViewEditRequest&)> editView; // the user's edit; nothing: cancelled
    std::vector<FileDialogRequest> fileDialogs;
    std::wstring fileDialogAnswer;
    int newViewDialogs = 0;
    std::optional<NewViewChoice> newViewChoice;
    std::vector<std::wstring> prompts;
    int messageAnswer = IDOK;
    std::optional<std::wstring> inputAnswer;
};

} // namespace vantrel::test
