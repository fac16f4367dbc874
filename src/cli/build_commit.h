#pragma once
// The commit the program was built from, as git named it when the build was configured ("unknown" outside a
// git checkout). It is compiled into one small source of its own, so that a new commit recompiles nothing else.

namespace grovex::cli {

const char* buildCommit();

} // namespace grovex::cli
