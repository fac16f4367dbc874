#pragma once
// Opening a document with the program the system associates with it.

#include <string>

namespace grovex {

// Result codes of an "open" request: above 32 means success.
inline constexpr int kShellNoAssociation = 31;
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellPathNotFound = 3;
inline constexpr int kShellSuccess = 33;

class Shell {
public:
    virtual ~Shell() = default;
    // Opens `file` (a name relative to `directory`, or a full path) and answers one of the codes above.
    virtual int open(const std::string& file, const std::string& directory) = 0;
};

} // namespace grovex
