#pragma once

#include <string>

namespace sorvel {

// Running copies of the application, told apart by an id that names one process for as long
// as it runs and never a later one (a reused process number has another id).
class Processes {
  public:
    virtual ~Processes() = default;
    // This process's id: letters, digits and '-' only.
    virtual std::string selfId() const = 0;
    // Whether the process of id still runs.
    virtual bool running(const std::string& id) const = 0;
};

}  // namespace sorvel
