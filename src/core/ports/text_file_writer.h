#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sorvel {

// Writes whole files atomically: the old content stays intact unless the new one is complete.
class TextFileWriter {
  public:
    virtual ~TextFileWriter() = default;
    // Nothing on success, else a description of what went wrong (for the user).
    virtual std::optional<std::string> writeFile(const std::string& path,
                                                 std::string_view bytes) = 0;
};

}  // namespace sorvel
