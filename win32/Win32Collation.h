// Collation in the user's locale, as Windows compares names without regard to letter case.
#pragma once

#include "store/Platform.h"

namespace lumisk {

// Both texts are code page 932 bytes, shown to Windows as UTF-16. Letter case is ignored the way the
// user's locale folds it (full-width Ａ equals ａ); nothing else is: width (Ａ and A), kana kind (ア and
// あ) and every other difference count. The user's locale is asked at every call.
class Win32Collation final : public Collation {
 public:
  // CompareStringW with NORM_IGNORECASE reports the two equal.
  bool equal(std::string_view a, std::string_view b) const override;
  // The sort key of `s` under the same rule (LCMapStringW, LCMAP_SORTKEY | NORM_IGNORECASE), its bytes
  // without the final NUL: equal sort keys exactly for texts that equal() finds equal.
  std::string key(std::string_view s) const override;
};

}  // namespace lumisk
