// An open-addressed table of (hash, position) pairs, for indexes whose keys live elsewhere: in the
// sections of an INI object, in the names of a design list. The caller hashes and confirms candidates
// against its own data, so the table holds no copies of keys and costs one allocation, not one per entry;
// a lookup in a large index touches one slot instead of a bucket and a node. A slot keeps 32 bits of the
// hash and of the position: eight bytes, so that more of a large index stays in the processor's caches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace lumisk {

class HashSlots {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  void clear() {
    slots_.clear();
    used_ = 0;
  }
  void reserve(std::size_t count) {
    if (full(count)) rehash(count + count / 3 + 1);
  }
  std::size_t size() const { return used_; }

  // The first stored position with this hash for which `same(position)` holds, or npos.
  template <class Same>
  std::size_t find(uint64_t hash, Same same) const {
    if (slots_.empty()) return npos;
    const std::size_t mask = slots_.size() - 1;
    const auto low = static_cast<uint32_t>(hash);
    for (std::size_t i = low & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.position == kEmpty) return npos;
      if (slot.hash == low && same(slot.position)) return slot.position;
    }
  }

  // Adds a position; the caller has made sure that no equal key is stored.
  void insert(uint64_t hash, std::size_t position) {
    if (position >= kEmpty) throw std::length_error("HashSlots: position out of range");
    if (full(used_ + 1)) rehash(slots_.empty() ? 16 : slots_.size() * 2);
    place(static_cast<uint32_t>(hash), static_cast<uint32_t>(position));
    ++used_;
  }

 private:
  static constexpr uint32_t kEmpty = 0xFFFFFFFF;
  struct Slot {
    uint32_t hash;      // the low bits of the hash
    uint32_t position;  // kEmpty: no entry
  };

  // Whether `count` entries would fill the table beyond three quarters. Fuller, a miss walks long runs
  // of slots; emptier, a large index takes more room than the names it finds and falls out of the
  // processor's caches sooner.
  bool full(std::size_t count) const { return count * 4 > slots_.size() * 3; }

  void place(uint32_t hash, uint32_t position) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].position != kEmpty) i = (i + 1) & mask;
    slots_[i] = Slot{hash, position};
  }

  void rehash(std::size_t atLeast) {
    std::size_t size = 16;
    while (size < atLeast) size *= 2;
    std::vector<Slot> old(size, Slot{0, kEmpty});
    old.swap(slots_);
    for (const Slot& slot : old)
      if (slot.position != kEmpty) place(slot.hash, slot.position);
  }

  std::vector<Slot> slots_;  // a power of two in size, at most three quarters full
  std::size_t used_ = 0;
};

}  // namespace lumisk
