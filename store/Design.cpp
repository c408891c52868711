#include "store/Design.h"

#include <stdexcept>

namespace lumisk {
namespace {

constexpr std::array<std::string_view, kIntKeyCount> kIntKeys = {
    "BtnVertical", "DragBar",      "GroupName",      "DragBarSize", "ScrollBar",      "ScrollBtn",
    "GroupBtn",    "ScrollSize",   "BtnSmallIcon",   "BtnSquare",   "BtnWidth",       "BtnHeight",
    "BtnCaption",  "BackColor",    "BtnColor",       "BtnFocusColor", "HideColor",    "BtnTransparent",
    "BtnSelTransparent", "HideGroupName", "HideSize", "Cols",       "Rows"};
constexpr std::array<std::string_view, kTextKeyCount> kTextKeys = {"WallPaper"};

}  // namespace

std::string_view intKeyName(int index) { return kIntKeys.at(static_cast<std::size_t>(index)); }
std::string_view textKeyName(int index) { return kTextKeys.at(static_cast<std::size_t>(index)); }
std::string_view keyName(int keyIndex) {
  return keyIndex < kIntKeyCount ? intKeyName(keyIndex) : textKeyName(keyIndex - kIntKeyCount);
}

TDesign TDesign::unset() {
  TDesign d;
  d.intValues.fill(kUnsetInt);
  d.textValues.fill(std::string(kUnsetText));
  return d;
}

void DesignList::append(std::string name, TDesign design) {
  entries_.push_back(DesignEntry{std::move(name), std::move(design)});
}

void DesignList::rename(std::size_t i, std::string name) { entries_.at(i).name = std::move(name); }

void DesignList::move(std::size_t from, std::size_t to) {
  if (from >= entries_.size() || to >= entries_.size()) throw std::out_of_range("DesignList::move");
  if (from == to) return;
  DesignEntry moving = std::move(entries_[from]);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(from));
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(to), std::move(moving));
}

void DesignList::remove(std::size_t i) {
  if (i >= entries_.size()) throw std::out_of_range("DesignList::remove");
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
}

bool DesignList::containsName(std::string_view name) const {
  for (const auto& e : entries_)
    if (e.name == name) return true;
  return false;
}

}  // namespace lumisk
