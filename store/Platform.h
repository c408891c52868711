// What the portable core needs of the platform. The core never looks these up itself: callers pass them
// in, the DLL the Win32 implementations, tests scripted fakes.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumisk {

// A file that could not be read or written. what() is the message for the user, in code page 932.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "ファイル %s は開けません", "ファイル %s を作成できません", "ストリームへの書き込みエラー".
FileError cannotOpenError(std::string_view fileName);
FileError cannotCreateError(std::string_view fileName);
FileError writeError();

class FileAccess {
 public:
  virtual ~FileAccess() = default;
  // The whole file; std::nullopt when nothing exists at `path` (or the path is empty).
  // Throws cannotOpenError when a file exists but cannot be read.
  virtual std::optional<std::string> readAll(const std::string& path) = 0;
  // Replaces the file with `bytes` atomically: afterwards it holds either its old bytes or all new ones.
  // Throws cannotCreateError when the file cannot be created or replaced, writeError when the bytes
  // could not all be written; either way the old file is left exactly as it was.
  virtual void replaceAll(const std::string& path, std::string_view bytes) = 0;
  // The user's folder for temporary files, ending in a separator: where a file goes that no folder of
  // the plug-in's own takes. std::nullopt when the system names none that code page 932 can spell.
  virtual std::optional<std::string> tempFolder() = 0;
};

// Case-insensitive equality of section and key names, in the user's locale on Windows.
// key(a) == key(b) exactly when equal(a, b).
class Collation {
 public:
  virtual ~Collation() = default;
  virtual bool equal(std::string_view a, std::string_view b) const = 0;
  virtual std::string key(std::string_view s) const = 0;
};

// ASCII letters folded, every other byte compared as it is: the native stand-in for the locale rules.
class AsciiCollation final : public Collation {
 public:
  bool equal(std::string_view a, std::string_view b) const override;
  std::string key(std::string_view s) const override;
};

// What a person is asked or told. Texts are code page 932.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // Plain message box with one OK button.
  virtual void inform(const std::string& text) = 0;
  // Confirmation box: caption "確認", question icon, "OK" and "キャンセル". True for OK.
  virtual bool confirm(const std::string& text) = 0;
  // The design-name input box; std::nullopt unless closed with OK. The answer is returned untrimmed.
  virtual std::optional<std::string> askName(const std::string& prompt, const std::string& suggestion) = 0;
  // The import's open-file dialog for design files; the full path chosen, std::nullopt on cancel.
  virtual std::optional<std::string> chooseDesignFile(const std::string& initialFolder) = 0;
  // An error box for a failure the user must know of (file errors).
  virtual void showError(const std::string& text) = 0;
  // True while a prompt of the plug-in is open on the calling thread, one of these or any other: a call
  // that arrives meanwhile did not come from the person answering it.
  virtual bool showing() const = 0;
};

}  // namespace lumisk
