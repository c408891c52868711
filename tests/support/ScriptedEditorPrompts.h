// The design editor's prompts for tests: the plug-in's prompts and the value dialogs are whatever the
// test scripts (ScriptedPrompts, ScriptedValueDialogs), the export's save dialog answers from a queue.
// No modal window ever opens.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/EditorPrompts.h"

namespace lumisk {

// Answers of the export's save dialog, and what it was asked.
struct SaveDialogScript {
  std::deque<std::optional<std::string>> answers;
  const char* failure = nullptr;  // thrown instead of answering
  std::vector<FileDialogRequest> requests;
};

class ScriptedEditorPrompts final : public EditorPrompts {
 public:
  // `owner` receives what the window hands its dialogs as their owner. All four outlive this object.
  ScriptedEditorPrompts(Prompts& prompts, ValueDialogs& values, SaveDialogScript& saves, EditorDialogOwner& owner)
      : prompts_(prompts), values_(values), saves_(saves), owner_(owner) {}

  void inform(const std::string& text) override { prompts_.inform(text); }
  bool confirm(const std::string& text) override { return prompts_.confirm(text); }
  std::optional<std::string> askName(const std::string& prompt, const std::string& suggestion) override {
    return prompts_.askName(prompt, suggestion);
  }
  std::optional<std::string> chooseDesignFile(const std::string& initialFolder) override {
    return prompts_.chooseDesignFile(initialFolder);
  }
  void showError(const std::string& text) override { prompts_.showError(text); }
  bool showing() const override { return prompts_.showing(); }

  void setOwner(const EditorDialogOwner& owner) override { owner_ = owner; }
  std::optional<std::string> chooseExportFile(const FileDialogRequest& request) override {
    saves_.requests.push_back(request);
    if (saves_.failure) throw std::runtime_error(saves_.failure);
    if (saves_.answers.empty()) return std::nullopt;
    auto answer = saves_.answers.front();
    saves_.answers.pop_front();
    return answer;
  }

  std::optional<ValueFormResult> runValueForm(const ValueFormSetup& setup) override {
    return values_.runValueForm(setup);
  }
  std::optional<uint32_t> runColourDialog(uint32_t initial) override { return values_.runColourDialog(initial); }
  std::optional<std::string> runPictureDialog(const std::string& fieldText) override {
    return values_.runPictureDialog(fieldText);
  }

 private:
  Prompts& prompts_;
  ValueDialogs& values_;
  SaveDialogScript& saves_;
  EditorDialogOwner& owner_;
};

}  // namespace lumisk
