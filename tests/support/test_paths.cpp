#include "support/test_paths.h"

namespace grovex {

const std::string& testDataDir() {
    static const std::string dir = GROVEX_SOURCE_DIR "/tests/data";
    return dir;
}

std::string testData(const std::string& name) {
    return testDataDir() + "/" + name;
}

const std::string& sourceDir() {
    static const std::string dir = GROVEX_SOURCE_DIR;
    return dir;
}

const std::string& cliPath() {
    static const std::string path = GROVEX_CLI_PATH;
    return path;
}

const std::string& makeStandsPath() {
    static const std::string path = GROVEX_MAKE_STANDS_PATH;
    return path;
}

} // namespace grovex
