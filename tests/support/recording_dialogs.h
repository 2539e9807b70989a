#pragma once
// The file dialogs and message boxes as one line each, answered from the test's script.

#include <functional>
#include <string>
#include <vector>

#include "editor/file_commands.h"

namespace pagelark::testing {

class RecordingDialogs final : public FileDialogs {
  public:
    std::string OpenFileDialog(const std::string&, const std::string&, const FileFilter& filter,
                               const std::string& title) override {
        std::string patterns;
        for (std::string_view pattern : filter.patterns)
            patterns += " " + std::string(pattern);
        Note("open " + title + " " + std::string(filter.name) + patterns);
        return chosen;
    }
    std::string SaveFileDialog(const std::string&, const std::string& name, const FileFilter&,
                               const std::string& extension, const std::string& title) override {
        Note("save " + title + " " + name + " " + extension);
        return chosen;
    }
    Answer AskSaveChanges(const std::string& text) override {
        Note("ask " + text);
        return answer;
    }
    void ShowError(const std::string& text) override { Note("error " + text); }
    void ShowInformation(const std::string& text) override { Note("info " + text); }
    Answer AskReload(const std::string& text) override {
        Note("reload " + text);
        return reloadAnswer;
    }

    void Note(const std::string& call) {
        calls.push_back(call);
        if (afterCall) afterCall(calls);
    }

    std::string chosen;  // what the file dialogs return
    Answer answer = Answer::Cancel;
    Answer reloadAnswer = Answer::Cancel;  // Yes reloads, No keeps the window's version
    std::vector<std::string> calls;
    // What else a test must know while a box is up, added to calls.
    std::function<void(std::vector<std::string>&)> afterCall;
};

}  // namespace pagelark::testing
