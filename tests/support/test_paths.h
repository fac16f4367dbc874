#pragma once
// Where the tests find their data files and the programs of this build they run. The folders are compiled
// into one small library rather than into every test, so that another checkout of the same sources reuses
// the compiled tests from the compiler cache.

#include <string>

namespace grovex {

// The folder tests/data of the sources, and a file in it.
const std::string& testDataDir();
std::string testData(const std::string& name);
// The top folder of the sources.
const std::string& sourceDir();
// grovex-cli of this build.
const std::string& cliPath();
// grovex-make-stands of this build (built with the batch runner only).
const std::string& makeStandsPath();

} // namespace grovex
