#include "treelist/tree_list_document.h"

namespace grovex {

void treeListDoc::setFile(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    title_ = separator == std::string::npos ? path : path.substr(separator + 1);
    path_ = path;
}

} // namespace grovex
