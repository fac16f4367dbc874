#pragma once
// A folder for the files a harness must write, in memory where the system offers it: the font record is
// saved with a flush to the disk, which would otherwise dominate every run.

#include <filesystem>
#include <string>

namespace grovex::fuzz {

inline std::string scratchDirectory(const std::string& name) {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    const std::filesystem::path directory = base / name;
    std::filesystem::create_directories(directory);
    return directory.string() + "/";
}

} // namespace grovex::fuzz
