// Load and save of the plug-in INI file at 1,000, 10,000 and 100,000 designs, each set against its floor.
//
// load: open the file (TMemIniFile over StdFileAccess) and load every design into an empty list, as
//       OQXBeginPlugin does; the INI object is released inside the timing, the list is not.
// save: what OQXEndPlugin does with the list: open the existing file for rewriting (read, nothing of it
//       kept), write every design section, replace the file on disk.
// The floors are what no load or save can do without, measured in the same runs on the same files with
// plain C stdio: for a load, reading the file in one piece, splitting it into lines and finding the "=" of
// each; for a save, writing the bytes the save writes, held in memory, to a new file and renaming it over
// the old one.
// Each figure is the median of many runs after one untimed warm-up run (the sizes take turns in rounds),
// in wall-clock time and in the process's CPU time (user and system; a busy shared machine disturbs it less). Heap use is counted by the
// replaced global operator new/delete below; the peak is taken during load, above what was allocated before
// it, and set against the file's size.
//
// The heap is kept by the process between runs (mallopt), so that every size is measured in the same warm
// state. By default glibc hands freed memory back to the kernel only above thresholds that the 10,000
// design runs stay under and the 100,000 design runs exceed; the larger runs then pay for faulting fresh
// pages in again, which on a virtual machine costs more than the work measured. --release-heap keeps
// glibc's default to show that cost.
//
// Usage: load_save_bench [--release-heap] [folder [designs]]
//   folder   where the files are written (default: a fresh folder under the system's temporary folder)
//   designs  measure this one size only (1000, 10000 or 100000), for profiling
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/DesignFile.h"
#include "store/IniFile.h"
#include "store/StdFileAccess.h"

namespace {

// Heap bytes in use and the most in use since the last reset. The program is single-threaded.
std::size_t gHeapNow = 0;
std::size_t gHeapPeak = 0;

void* allocate(std::size_t size) noexcept {
  void* p = std::malloc(size ? size : 1);
  if (p) {
    gHeapNow += malloc_usable_size(p);
    gHeapPeak = std::max(gHeapPeak, gHeapNow);
  }
  return p;
}

void release(void* p) noexcept {
  if (!p) return;
  gHeapNow -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

namespace lumisk {
namespace {

const AsciiCollation kCollation;
constexpr int kRounds = 7;

// Names of several kinds: Japanese with second bytes that look like "\" and ASCII letters, half-width
// katakana, plain ASCII with blanks.
std::string designName(int i) {
  static const char* const kBases[] = {"デザイン", "Design ", "表示ソフト", "ｶﾗｰ", "パッド配色-", "ソース表"};
  return kBases[i % 6] + std::to_string(i + 1);
}

int32_t designValue(int i, int key) {
  switch (key) {
    case 13: case 14: case 15: case 16:  // colours
      return static_cast<int32_t>((static_cast<uint32_t>(i) * 2654435761u + static_cast<uint32_t>(key)) & 0xFFFFFF);
    case 10: case 11:  // button sizes
      return 8 + 4 * ((i + key) % 31);
    case 20: {  // a negative value now and then; never -1, which would be "unset"
      const int32_t v = (i * 7 + key * 3) % 101 - 50;
      return v == -1 ? -2 : v;
    }
    default:
      return (i * 7 + key * 3) % 101;
  }
}

// Section Main of the plug-in INI file, which loading passes over.
constexpr std::string_view kMainSection =
    "[Main]\r\nLeft=120\r\nTop=80\r\nWidth=400\r\nHeight=350\r\nCol0Width=130\r\nCol1Width=70\r\n"
    "HintHelp=1\r\nImportDir=C:\\Users\\表\\デザイン\\\r\nExportDir=C:\\Users\\表\\デザイン\\\r\n\r\n";

// The design sections as OQXEndPlugin writes them, numbered from 0, every value set.
std::string designSections(int designs) {
  std::string text;
  text.reserve(static_cast<std::size_t>(designs) * 420);
  for (int i = 0; i < designs; ++i) {
    text += "[" + std::to_string(i) + "]\r\nName=" + designName(i) + "\r\n";
    for (int k = 0; k < kIntKeyCount; ++k)
      text += std::string(intKeyName(k)) + "=" + std::to_string(designValue(i, k)) + "\r\n";
    text += "WallPaper=C:\\Users\\表\\Pictures\\壁紙" + std::to_string(i % 50) + ".bmp\r\n\r\n";
  }
  return text;
}

// Clocks in milliseconds. (<chrono> cannot be used here: its "µs" does not exist in code page 932, the
// execution character set of this build.)
double clockMs(clockid_t clock) {
  timespec t;
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall-clock and CPU time since construction.
struct Stopwatch {
  double wall = clockMs(CLOCK_MONOTONIC);
  double cpu = clockMs(CLOCK_PROCESS_CPUTIME_ID);
  double wallMs() const { return clockMs(CLOCK_MONOTONIC) - wall; }
  double cpuMs() const { return clockMs(CLOCK_PROCESS_CPUTIME_ID) - cpu; }
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The floor of a load: the number of lines that hold a "=", so that the work cannot be left out.
std::size_t floorLoad(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw std::runtime_error("cannot open " + path);
  std::string bytes(std::filesystem::file_size(path), '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  const std::string_view text = bytes;
  std::size_t found = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    if (text.substr(pos, end - pos).find('=') != std::string_view::npos) ++found;
    pos = end + 1;
  }
  return found;
}

// The floor of a save.
void floorSave(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".floor-tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot create " + temp);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0)
    throw std::runtime_error("cannot write " + path);
}

DesignList load(const std::string& path, StdFileAccess& files) {
  DesignList list;
  const TMemIniFile ini(path, files, kCollation);
  loadDesigns(ini, list);
  return list;
}

void save(const std::string& path, StdFileAccess& files, const DesignList& list) {
  TMemIniFile ini = TMemIniFile::forRewrite(path, files, kCollation);
  for (std::size_t i = 0; i < list.count(); ++i) saveDesignSection(ini, static_cast<int32_t>(i), list, i);
  ini.updateFile();
}

// One file size: its files, the designs to save, and the times taken so far.
class SizeCase {
 public:
  SizeCase(const std::filesystem::path& folder, int designs)
      : designs_(designs),
        source_((folder / ("designs-" + std::to_string(designs) + ".ini")).string()),
        target_((folder / ("saved-" + std::to_string(designs) + ".ini")).string()),
        floorTarget_((folder / ("floor-" + std::to_string(designs) + ".ini")).string()) {
    const std::string sections = designSections(designs);
    fileBytes_ = kMainSection.size() + sections.size();
    files_.replaceAll(source_, std::string(kMainSection) + sections);

    // Warm-up: the page cache holds the file, the saved file exists as the plug-in's INI file does, and
    // the peak heap of one load is taken.
    const std::size_t before = gHeapNow;
    gHeapPeak = gHeapNow;
    list_ = load(source_, files_);
    loadPeak_ = gHeapPeak - before;
    if (list_.count() != static_cast<std::size_t>(designs) || list_.name(designs - 1) != designName(designs - 1) ||
        list_.design(designs - 1).intValues[13] != designValue(designs - 1, 13))
      throw std::runtime_error("the generated file did not load as written");
    save(target_, files_, list_);
    saved_ = *files_.readAll(target_);
    if (saved_ != sections) throw std::runtime_error("the saved file differs from the loaded one");
    // Every line of a design section holds a "=".
    lines_ = floorLoad(source_);
    if (lines_ != static_cast<std::size_t>(designs) * (2 + kIntKeyCount) + 9)
      throw std::runtime_error("the floor of a load did not see every line");
  }

  int designs() const { return designs_; }

  // The floors run just before what they are set against, so that both meet the machine in the same state.
  void run() {
    const Stopwatch floorLoading;
    if (floorLoad(source_) != lines_) throw std::runtime_error("the file changed");
    floorLoads_.push_back(floorLoading.wallMs());

    const Stopwatch loading;
    DesignList loaded = load(source_, files_);
    loads_.push_back(loading.wallMs());
    loadsCpu_.push_back(loading.cpuMs());

    const Stopwatch floorSaving;
    floorSave(floorTarget_, saved_);
    floorSaves_.push_back(floorSaving.wallMs());

    const Stopwatch saving;
    save(target_, files_, list_);
    saves_.push_back(saving.wallMs());
    savesCpu_.push_back(saving.cpuMs());
  }

  double loadMs() const { return median(loads_); }
  double saveMs() const { return median(saves_); }
  double floorLoadMs() const { return median(floorLoads_); }
  double floorSaveMs() const { return median(floorSaves_); }

  void print() const {
    std::printf("%9d %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %13.2f %8.2fx %6zu\n", designs_, fileBytes_ / 1e6,
                loadMs(), median(loadsCpu_), floorLoadMs(), saveMs(), median(savesCpu_), floorSaveMs(),
                loadPeak_ / 1e6, static_cast<double>(loadPeak_) / static_cast<double>(fileBytes_), loads_.size());
  }

 private:
  int designs_;
  std::string source_, target_, floorTarget_;
  std::string saved_;       // the bytes a save writes
  std::size_t lines_ = 0;   // lines with a "=" in the source
  StdFileAccess files_;
  std::size_t fileBytes_ = 0;
  std::size_t loadPeak_ = 0;
  DesignList list_;
  std::vector<double> loads_, loadsCpu_, saves_, savesCpu_, floorLoads_, floorSaves_;
};

}  // namespace
}  // namespace lumisk

int main(int argc, char** argv) {
  using namespace lumisk;
  namespace fs = std::filesystem;
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool releaseHeap = !args.empty() && args.front() == "--release-heap";
  if (releaseHeap) args.erase(args.begin());
  // Anything else that looks like an option is a mistake, not a folder to fill with 100 MB of files.
  if (!args.empty() && args.front().starts_with('-')) {
    std::fprintf(stderr, "usage: load_save_bench [--release-heap] [FOLDER [DESIGNS]]\n");
    return 2;
  }
  if (!releaseHeap) {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
  const bool ownFolder = args.empty();
  const fs::path folder = ownFolder ? fs::temp_directory_path() / ("lumisk-bench-" + std::to_string(::getpid()))
                                    : fs::path(args[0]);
  fs::create_directories(folder);
  // One size alone is for profiling; the scaling line needs all three.
  const int only = args.size() >= 2 ? std::atoi(args[1].c_str()) : 0;

  std::vector<SizeCase> cases;
  try {
    for (int designs : {1000, 10000, 100000})
      if (only == 0 || only == designs) cases.emplace_back(folder, designs);
    // Rounds in which every size runs for about the same time (ten runs of a size per run of the next
    // larger one), so that whatever else the machine does in the meantime weighs on all sizes alike.
    for (int round = 0; round < kRounds; ++round)
      for (auto& c : cases)
        for (int i = 0, n = 100000 / c.designs(); i < n; ++i) c.run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "load_save_bench: %s\n", e.what());
    return 1;
  }
  if (ownFolder) fs::remove_all(folder);

  std::printf("heap: %s\n", releaseHeap ? "glibc default (freed memory goes back to the kernel)"
                                        : "kept by the process between runs");
  std::printf("%9s %9s %9s %9s %9s %9s %9s %9s %13s %9s %6s\n", "designs", "file MB", "load ms", "load cpu",
              "floor ms", "save ms", "save cpu", "floor ms", "load peak MB", "peak/file", "runs");
  for (const auto& c : cases) c.print();
  // The floor ratios are those of 10,000 designs, the size the goals are set for.
  if (cases.size() == 3)
    std::printf("scaling: load 100k/10k = %.2f, save 100k/10k = %.2f; floor: load/floor = %.2f, save/floor = %.2f\n",
                cases[2].loadMs() / cases[1].loadMs(), cases[2].saveMs() / cases[1].saveMs(),
                cases[1].loadMs() / cases[1].floorLoadMs(), cases[1].saveMs() / cases[1].floorSaveMs());
  return 0;
}
