// Fuzzes the output naming rules (MakeOutputPath) over a folder made from the input: its
// entries (files, read-only files, FIFOs, folders empty or holding a file, a hidden file
// or a folder, hidden names, names differing in letter case only), the settings (extension,
// collision policy, output folder) and the answer to the question about a name in use. The
// result must equal that of the rules written plainly over the folder as the input
// describes it. Then the result is made a file, as a run does, and the same input name
// must give what the rules give for the folder with that file in it.
//
// The folder lives in memory (under /dev/shm when there is one) and is kept from input to
// input: only the entries that differ from the last input's are removed or made.

#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "output/output_name.h"

namespace {

// What an entry of the folder is.
enum Kind {
  kFile,            // 32
  kReadOnlyFile,    // 33
  kFifo,            // 4
  kEmptyFolder,     // 16, nothing inside
  kFolderOfFile,    // 16, holding the file "F"
  kFolderOfHidden,  // 16, holding the hidden file ".h"
  kFolderOfFolder,  // 16, holding the folder "d"
  kKinds
};

using Folder = std::map<std::string, Kind>;

// The names are made of these parts, so that they often meet the candidates.
constexpr const char* kBases[] = {"", "A", "a", "AB", "ab", "B", "A.B"};
constexpr const char* kExts[] = {".TXT", ".txt", ".Txt", ".000",     ".001", ".002",
                                 ".00",  "",     ".",    ".TXT.000", ".0000"};
constexpr size_t kBaseCount = sizeof kBases / sizeof kBases[0];
constexpr size_t kExtCount = sizeof kExts / sizeof kExts[0];

// The process's folder, removed at exit. Kept in a plain array: the exit handler runs after
// static strings are gone.
char root_path[4096];

const std::string& WorkFolder() {
  static const std::string folder = [] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : getenv("TMPDIR");
    std::string templ =
        std::string(base != nullptr && *base ? base : "/tmp") + "/fuzz-output-name-XXXXXX";
    if (mkdtemp(templ.data()) == nullptr || templ.size() >= sizeof root_path - 16) abort();
    std::snprintf(root_path, sizeof root_path, "%s", templ.c_str());
    atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(root_path, ec);
    });
    const std::string work = templ + "/w";
    if (mkdir(work.c_str(), 0700) != 0) abort();
    return work + "/";
  }();
  return folder;
}

void MakeFile(const std::string& path, mode_t mode) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0 || close(fd) != 0) abort();
  if (chmod(path.c_str(), mode) != 0) abort();
}

void Make(const std::string& path, Kind kind) {
  switch (kind) {
    case kFile:
      return MakeFile(path, 0644);
    case kReadOnlyFile:
      return MakeFile(path, 0444);
    case kFifo:
      if (mkfifo(path.c_str(), 0644) != 0) abort();
      return;
    default:
      if (mkdir(path.c_str(), 0755) != 0) abort();
      if (kind == kFolderOfFile) MakeFile(path + "/F", 0644);
      if (kind == kFolderOfHidden) MakeFile(path + "/.h", 0644);
      if (kind == kFolderOfFolder && mkdir((path + "/d").c_str(), 0755) != 0) abort();
      return;
  }
}

// Makes the folder on disk hold WANTED, changing only what differs from what it holds.
void Sync(const Folder& wanted) {
  static Folder on_disk;
  for (auto it = on_disk.begin(); it != on_disk.end();) {
    auto found = wanted.find(it->first);
    if (found != wanted.end() && found->second == it->second) {
      ++it;
      continue;
    }
    std::error_code ec;
    std::filesystem::remove_all(WorkFolder() + it->first, ec);
    if (ec) abort();
    it = on_disk.erase(it);
  }
  for (const auto& [name, kind] : wanted) {
    if (on_disk.count(name) == 0) {
      Make(WorkFolder() + name, kind);
      on_disk.emplace(name, kind);
    }
  }
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool IsFolderKind(Kind kind) { return kind >= kEmptyFolder; }

// The attribute byte a listing gives the entry NAME of kind KIND.
int Attributes(const std::string& name, Kind kind) {
  if (name[0] == '.') return 2;
  if (kind == kFifo) return 4;
  if (IsFolderKind(kind)) return 16;
  return kind == kReadOnlyFile ? 33 : 32;
}

bool Counts(int attributes) { return attributes != 2 && attributes != 4 && attributes != 16; }

// A directory search for the name PATTERN (no wildcards) finds NAME: the same letters
// without regard to case, where a dot at the end of the pattern may also match nothing.
bool Finds(std::string_view pattern, const std::string& name) {
  if (Upper(pattern) == Upper(name)) return true;
  return !pattern.empty() && pattern.back() == '.' &&
         Finds(pattern.substr(0, pattern.size() - 1), name);
}

// The existence test over FOLDER for the name NAME of a candidate in it, written plainly.
bool PlainInUse(const Folder& folder, const std::string& name) {
  auto exact = folder.find(name);
  if (exact != folder.end()) {
    if (exact->second == kFile || exact->second == kReadOnlyFile) return true;
    // A folder of that very name: only what it holds counts ("." and ".." never do).
    if (IsFolderKind(exact->second)) return exact->second == kFolderOfFile;
  }
  // No name, or the name "." (the folder itself): every entry of the folder.
  const bool everything = name.empty() || name == ".";
  for (const auto& [entry, kind] : folder) {
    if ((everything || Finds(name, entry)) && Counts(Attributes(entry, kind))) return true;
  }
  return false;
}

struct Plain {
  std::string path;
  vintrel::OutputNameOutcome outcome;
};

// The naming rules written plainly; every candidate lies in the work folder, behind PREFIX.
Plain PlainName(const Folder& folder, const std::string& input_name, const std::string& prefix,
                const std::string& glued, const vintrel::OutputNameSettings& settings,
                const vintrel::AskAnswer& answer) {
  using vintrel::OutputNameOutcome;
  const std::string stem = glued + input_name.substr(0, input_name.find('.'));
  auto in_use = [&](const std::string& name) {
    // A glued prefix names no entry: nothing in the folder starts with it.
    return glued.empty() && PlainInUse(folder, name);
  };
  if (!in_use(stem + settings.ext)) return {prefix + stem + settings.ext, OutputNameOutcome::kFree};
  if (settings.mode == vintrel::ModeOverwrite ||
      (settings.mode == vintrel::ModeAsk && answer.choice == vintrel::ChoiceOverwrite)) {
    return {prefix + stem + settings.ext, OutputNameOutcome::kOverwrite};
  }
  if (settings.mode == vintrel::ModeAsk && answer.choice == vintrel::ChoiceChangeExt) {
    return {prefix + stem + answer.ext, OutputNameOutcome::kChangedExtension};
  }
  for (int n = 0; n < 1000; ++n) {
    char number[8];
    std::snprintf(number, sizeof number, ".%03d", n);
    if (!in_use(stem + number)) return {prefix + stem + number, OutputNameOutcome::kNumbered};
  }
  return {std::string(), OutputNameOutcome::kAllNumbersTaken};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  vintrel::OutputNameSettings settings;
  settings.mode = data[0] % 4;  // 3 is no policy: it must act as the numbered search
  settings.ext = kExts[(data[0] >> 2) % kExtCount];
  vintrel::AskAnswer answer;
  answer.choice = data[1] % 4;  // 3 is no choice: it must act as the numbered search
  answer.ext = kExts[(data[1] >> 2) % kExtCount];
  std::string input_name = kBases[data[2] % kBaseCount];
  input_name += (data[2] >> 4) % 2 ? ".DOC" : "";
  // Where the outputs go: the current folder, the output folder with or without its '/',
  // or a prefix glued to the file name.
  const std::string& work = WorkFolder();
  const std::string no_slash = work.substr(0, work.size() - 1);
  std::string current_folder = work;
  std::string glued;
  switch ((data[2] >> 5) % 4) {
    case 1:
      settings.out_dir = work;
      current_folder = "/nowhere/";
      break;
    case 2:
      settings.out_dir = no_slash;
      current_folder = "/nowhere/";
      break;
    case 3:
      settings.out_dir = work + "X";
      glued = "X";
      break;
  }
  // Whole numbered ranges taken: .000 up to a number given by data[3].
  Folder folder;
  const int taken = data[3] < 200 ? 0 : (data[3] - 200) * 20;
  const std::string base = input_name.substr(0, input_name.find('.'));
  for (int n = 0; n < taken && n < 1000; ++n) {
    char number[8];
    std::snprintf(number, sizeof number, ".%03d", n);
    folder[base + number] = kFile;
  }
  for (size_t at = 4; at + 1 < size && at < 4 + 2 * 32; at += 2) {
    std::string name = kBases[data[at] % kBaseCount];
    name += kExts[(data[at] / kBaseCount) % kExtCount];
    if (name.empty() || name == "." || name == "..") continue;
    folder[name] = static_cast<Kind>(data[at + 1] % kKinds);
  }
  // A candidate of no name, or the name "." alone, lists the work folder itself; ".." would
  // list the folder around it.
  if (glued.empty() && base.empty() && (settings.ext == "." || answer.ext == ".")) return 0;
  Sync(folder);

  auto ask = [&answer](const std::string&) { return answer; };
  for (int round = 0; round < 2; ++round) {
    const vintrel::OutputNameResult result =
        vintrel::MakeOutputPath(input_name, current_folder, settings, ask);
    const Plain plain = PlainName(folder, input_name, work, glued, settings, answer);
    if (result.path != plain.path || result.outcome != plain.outcome) {
      std::fprintf(stderr, "naming gave %s (%d), the plain rules %s (%d)\n", result.path.c_str(),
                   static_cast<int>(result.outcome), plain.path.c_str(),
                   static_cast<int>(plain.outcome));
      abort();
    }
    // The run makes the output: a file appears under the name unless something is there.
    if (!glued.empty() || result.path.size() <= work.size()) break;
    const std::string name = result.path.substr(work.size());
    if (name == "." || folder.count(name) != 0) break;
    folder[name] = kFile;
    Sync(folder);
  }
  return 0;
}
