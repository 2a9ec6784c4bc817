#ifndef VINTREL_PLATFORM_CORE_FILE_ERROR_H_
#define VINTREL_PLATFORM_CORE_FILE_ERROR_H_

#include <stdexcept>
#include <string>

namespace vintrel {

// A failure to open, read, write or close one file. Carries the file's path (or the name
// it goes by, such as "standard input") and the system's error number.
class FileError : public std::runtime_error {
 public:
  // what() reads "PATH: REASON", REASON being the system's text for ERROR_NUMBER.
  FileError(std::string path, int error_number);

  const std::string& path() const { return path_; }
  int error_number() const { return error_number_; }
  // The system's text for error_number() alone ("No space left on device").
  std::string reason() const;

 private:
  std::string path_;
  int error_number_;
};

// The system's text for ERROR_NUMBER; thread-safe.
std::string ErrorText(int error_number);

}  // namespace vintrel

#endif  // VINTREL_PLATFORM_CORE_FILE_ERROR_H_
