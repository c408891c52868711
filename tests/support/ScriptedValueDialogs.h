// Value dialogs that answer from queues instead of a person, for tests of the value commands and of
// the editor window that calls them. Every call is recorded; an empty queue answers like Cancel.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editor/value/ValueEdit.h"

namespace lumisk {

class ScriptedValueDialogs final : public ValueDialogs {
 public:
  std::deque<std::optional<ValueFormResult>> valueAnswers;
  std::deque<std::optional<uint32_t>> colourAnswers;
  std::deque<std::optional<std::string>> pictureAnswers;

  std::vector<ValueFormSetup> valueForms;  // every setup shown, in order
  std::vector<uint32_t> colourStarts;
  std::vector<std::string> pictureTexts;

  std::optional<ValueFormResult> runValueForm(const ValueFormSetup& setup) override {
    valueForms.push_back(setup);
    return next(valueAnswers);
  }
  std::optional<uint32_t> runColourDialog(uint32_t initial) override {
    colourStarts.push_back(initial);
    return next(colourAnswers);
  }
  std::optional<std::string> runPictureDialog(const std::string& fieldText) override {
    pictureTexts.push_back(fieldText);
    return next(pictureAnswers);
  }

 private:
  template <typename T>
  static std::optional<T> next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
};

}  // namespace lumisk
