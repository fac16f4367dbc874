#pragma once
// Opening a file with the program the desktop associates with it.

#include "base/platform/shell.h"

#include <functional>

class QUrl;

namespace grovex {

class QtShell : public Shell {
public:
    // Hands a file URL to the desktop; answers false when nothing could open it.
    using Opener = std::function<bool(const QUrl&)>;

    QtShell(); // opens through QDesktopServices
    explicit QtShell(Opener opener) : opener_(std::move(opener)) {}

    // A missing directory answers kShellPathNotFound, a missing file kShellFileNotFound, a file the desktop
    // cannot open kShellNoAssociation, and a file handed to its program kShellSuccess.
    int open(const std::string& file, const std::string& directory) override;

private:
    Opener opener_;
};

} // namespace grovex
