#include "cli/build_commit.h"

namespace grovex::cli {

const char* buildCommit() {
    return GROVEX_COMMIT;
}

} // namespace grovex::cli
