#include "host/Transcript.h"

#include "host/HostText.h"
#include "store/Cp932Path.h"

namespace lumisk::host {

Transcript::Transcript(std::FILE* out, std::string workFolder) : out_(out), workFolder_(std::move(workFolder)) {}

std::string Transcript::shown(std::string_view cp932) const {
  if (workFolder_.empty()) return displayText(cp932);
  // Replaced at character boundaries only: a folder name must not match from the middle of a character.
  std::string replaced;
  for (std::size_t i = 0; i < cp932.size();) {
    if (cp932.substr(i).starts_with(workFolder_)) {
      replaced += "@WORK@";
      i += workFolder_.size();
      continue;
    }
    const std::size_t width = isLeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size() ? 2 : 1;
    replaced += cp932.substr(i, width);
    i += width;
  }
  return displayText(replaced);
}

std::string Transcript::quoted(std::string_view cp932) {
  std::string text(1, '"');
  text += cp932;
  text += '"';
  return text;
}

void Transcript::line(std::string_view cp932) { write(shown(cp932)); }

void Transcript::utf8Line(std::string_view utf8) { write(utf8); }

void Transcript::write(std::string_view utf8) {
  if (!out_ || muted_) return;
  std::lock_guard lock(mutex_);
  std::fwrite(utf8.data(), 1, utf8.size(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

}  // namespace lumisk::host
