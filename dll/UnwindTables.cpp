#include "dll/UnwindTables.h"

#include <windows.h>

#include <cstdint>

namespace lumisk {

#if defined(__i386__) && !defined(__SEH__) && !defined(__USING_SJLJ_EXCEPTIONS__)

namespace {

// What the unwinder's frame registry offers (the statically linked copy of the compiler's runtime).
struct UnwindBases {
  void* tbase;
  void* dbase;
  void* func;
};
extern "C" {
const void* _Unwind_Find_FDE(void* pc, UnwindBases* bases);
void __register_frame_info(const void* begin, void* object);
void* __deregister_frame_info(const void* begin);
}

using FindFdeFunction = const void*(__cdecl*)(void* pc, UnwindBases* bases);

constexpr const wchar_t* kSharedRuntime = L"libgcc_s_dw2-1.dll";

// The registry's record of one table, owned by whoever registers it; zeroed, larger than the runtime's
// own (seven pointers), and kept until it is deregistered.
alignas(void*) unsigned char gObject[16 * sizeof(void*)];
const void* gRegistered = nullptr;

// A code address of this module that certainly has unwind information: this very function lies in the
// path of every exception it could be asked about.
[[gnu::noinline]] void* codeOfThisModule() { return reinterpret_cast<void*>(&codeOfThisModule); }

bool ownUnwinderKnows(void* pc) {
  UnwindBases bases{};
  return _Unwind_Find_FDE(pc, &bases) != nullptr;
}

// The start of the image section of `module` that holds `address`, or null.
const void* sectionStart(HMODULE module, const void* address) {
  const auto base = reinterpret_cast<const unsigned char*>(module);
  const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  const auto rva = static_cast<uintptr_t>(static_cast<const unsigned char*>(address) - base);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    const uintptr_t size = section->Misc.VirtualSize;
    if (rva >= section->VirtualAddress && rva - section->VirtualAddress < size)
      return base + section->VirtualAddress;
  }
  return nullptr;
}

}  // namespace

bool registerOwnUnwindTables() noexcept {
  void* const pc = codeOfThisModule();
  if (gRegistered || ownUnwinderKnows(pc)) return true;
  // The start-up code gave our tables to the shared runtime: it can tell where they lie. The unwind
  // table section is a plain sequence of records up to the end marker the linker puts last, so its start
  // is where the registry begins to read, as the start-up code's own marker would be.
  const HMODULE runtime = GetModuleHandleW(kSharedRuntime);
  if (!runtime) return false;
  const auto findFde = reinterpret_cast<FindFdeFunction>(
      reinterpret_cast<void*>(GetProcAddress(runtime, "_Unwind_Find_FDE")));
  if (!findFde) return false;
  UnwindBases bases{};
  const void* fde = findFde(pc, &bases);
  HMODULE self = nullptr;
  if (!fde || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                  static_cast<LPCWSTR>(pc), &self))
    return false;
  const void* begin = sectionStart(self, fde);
  if (!begin) return false;
  __register_frame_info(begin, gObject);
  gRegistered = begin;
  if (ownUnwinderKnows(pc)) return true;
  deregisterOwnUnwindTables();
  return false;
}

void deregisterOwnUnwindTables() noexcept {
  if (!gRegistered) return;
  __deregister_frame_info(gRegistered);
  gRegistered = nullptr;
}

#else

// Other builds unwind through the system's own tables (64-bit Windows) and register nothing.
bool registerOwnUnwindTables() noexcept { return true; }
void deregisterOwnUnwindTables() noexcept {}

#endif

}  // namespace lumisk
