#include "platform/core/file_error.h"

#include <string.h>

#include <utility>

namespace vintrel {

std::string ErrorText(int error_number) {
  char buffer[256];
  // The GNU strerror_r returns either BUFFER or a static text.
  const char* text = strerror_r(error_number, buffer, sizeof buffer);
  return text != nullptr ? std::string(text) : std::string("Unknown error");
}

FileError::FileError(std::string path, int error_number)
    : std::runtime_error(path + ": " + ErrorText(error_number)),
      path_(std::move(path)),
      error_number_(error_number) {}

std::string FileError::reason() const { return ErrorText(error_number_); }

}  // namespace vintrel
