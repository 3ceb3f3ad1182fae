#pragma once

#include <string>

namespace sorvel {

// The set folder path is kept under this key.
inline constexpr const char* kFilePassKey = "filePass";

// Persistent user settings: string values by key.
class Settings {
  public:
    virtual ~Settings() = default;
    virtual bool has(const std::string& key) const = 0;
    // The value, or "" when the key is absent.
    virtual std::string get(const std::string& key) const = 0;
    virtual void set(const std::string& key, const std::string& value) = 0;
    // Writes the values to permanent storage now.
    virtual void sync() = 0;
};

}  // namespace sorvel
