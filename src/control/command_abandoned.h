#pragma once
// The signal that abandons a projection command after its cause has already been shown to the user; the
// projection routine's single failure guard catches it (and any other exception) and rolls the command back.

#include <stdexcept>
#include <string>

namespace grovex {

class CommandAbandoned : public std::runtime_error {
public:
    explicit CommandAbandoned(const std::string& why) : std::runtime_error(why) {}
};

} // namespace grovex
