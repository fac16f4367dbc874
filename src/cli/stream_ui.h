#pragma once
// What the commands of grovex-cli share: message boxes as lines on the error stream, and a scratch folder of
// their own for the projection routine's state files.

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/platform/ui.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace grovex::cli {

// The model's message boxes become lines on the error stream; questions are answered Yes (or OK).
class StreamUi : public Ui {
public:
    explicit StreamUi(std::ostream& err) : err_(err) {}
    Answer message(std::string_view text, Buttons buttons, Icon, std::string_view) override {
        err_ << text << '\n';
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    // Nobody can pick a file on the command line.
    std::optional<std::string> openFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const FileDialogRequest&) override { return std::nullopt; }

private:
    std::ostream& err_;
};

// A folder of its own in the system's temporary folder for the command's state files, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        if (const std::optional<std::string> folder = makeScratchFolder("grovex-cli")) {
            path_ = *folder + static_cast<char>(std::filesystem::path::preferred_separator);
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(pathOf(path_), ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace grovex::cli
