#ifndef VINTREL_TESTS_SUPPORT_TEMP_DIR_H_
#define VINTREL_TESTS_SUPPORT_TEMP_DIR_H_

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

namespace vintrel::test {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it when the object
// goes. path() never ends with '/'; folder() is the same path with its trailing '/'.
class ScopedTempDir {
 public:
  ScopedTempDir() {
    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/vintrel-test-XXXXXX";
    char* made = mkdtemp(templ.data());
    if (made != nullptr) path_ = made;
  }
  ~ScopedTempDir() {
    std::error_code ec;
    // Folders made unreadable or unwritable by a test must not stop the clean-up.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string folder() const { return path_ + "/"; }
  std::string Child(const std::string& name) const { return path_ + "/" + name; }

  // Writes `bytes` to the file `name` below the folder (subfolders made as needed) and
  // returns its full path.
  std::string WriteFile(const std::string& name, const std::string& bytes) const {
    std::string full = Child(name);
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
  }
  std::string MakeFolder(const std::string& name) const {
    std::string full = Child(name);
    std::filesystem::create_directories(full);
    return full;
  }

 private:
  std::string path_;
};

// Reads a whole file as bytes; an empty text when it cannot be read.
inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets an environment variable for the life of the object and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace vintrel::test

#endif  // VINTREL_TESTS_SUPPORT_TEMP_DIR_H_
