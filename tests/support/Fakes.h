// Scripted stand-ins for the platform, shared by the native tests.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "store/Platform.h"

namespace lumisk::testing {

// Files held in memory; the empty path names none. A path in `unreadable` exists but cannot be read; `failWrites` makes every
// replace fail with the write error, leaving the old bytes, and so does a path that begins with one of
// `unwritable` (a folder that takes no file). `temp` is the temporary folder.
class MemoryFiles final : public FileAccess {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;
  bool failWrites = false;
  std::vector<std::string> unwritable;
  std::optional<std::string> temp = "C:\\Temp\\";
  int writes = 0;

  std::optional<std::string> readAll(const std::string& path) override {
    if (path.empty()) return std::nullopt;
    if (unreadable.contains(path)) throw cannotOpenError(path);
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  void replaceAll(const std::string& path, std::string_view bytes) override {
    ++writes;
    if (path.empty()) throw cannotCreateError(path);
    if (failWrites) throw writeError();
    for (const std::string& folder : unwritable)
      if (path.starts_with(folder)) throw cannotCreateError(path);
    files[path] = std::string(bytes);
  }
  std::optional<std::string> tempFolder() override { return temp; }
};

// Answers queued per kind of question; records everything shown. Each prompt counts as open while it
// answers.
class ScriptedPrompts final : public Prompts {
 public:
  std::deque<std::optional<std::string>> names;  // answers to askName; nullopt = cancel
  std::deque<bool> confirms;
  std::deque<std::optional<std::string>> files;  // answers to chooseDesignFile
  std::vector<std::string> informed, errors, confirmed;
  std::vector<std::string> namePrompts, nameSuggestions, fileFolders;
  // Runs inside the next prompt, before it answers, the way a call of the host arrives while a real
  // prompt is open; then it is gone.
  std::function<void()> whileOpen;

  void inform(const std::string& text) override {
    const Open open(*this);
    informed.push_back(text);
  }
  bool confirm(const std::string& text) override {
    const Open open(*this);
    confirmed.push_back(text);
    if (confirms.empty()) return false;
    const bool answer = confirms.front();
    confirms.pop_front();
    return answer;
  }
  std::optional<std::string> askName(const std::string& prompt, const std::string& suggestion) override {
    const Open open(*this);
    namePrompts.push_back(prompt);
    nameSuggestions.push_back(suggestion);
    if (names.empty()) return std::nullopt;
    auto answer = names.front();
    names.pop_front();
    return answer;
  }
  std::optional<std::string> chooseDesignFile(const std::string& initialFolder) override {
    const Open open(*this);
    fileFolders.push_back(initialFolder);
    if (files.empty()) return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
  }
  void showError(const std::string& text) override {
    const Open open(*this);
    errors.push_back(text);
  }
  bool showing() const override { return open_ > 0; }

 private:
  class Open {
   public:
    explicit Open(ScriptedPrompts& prompts) : prompts_(prompts) {
      ++prompts_.open_;
      try {
        if (auto meanwhile = std::exchange(prompts_.whileOpen, nullptr)) meanwhile();
      } catch (...) {
        --prompts_.open_;
        throw;
      }
    }
    ~Open() { --prompts_.open_; }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;

   private:
    ScriptedPrompts& prompts_;
  };

  int open_ = 0;
};

}  // namespace lumisk::testing
