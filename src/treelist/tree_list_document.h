#pragma once
// The tree list document: only its title, the path of its file and the modified flag. The list itself lives
// in the grid (treeListView); the window's commands move it between the grid and files.

#include <string>

namespace grovex {

inline constexpr const char* kUntitledTreeList = "Untitled";

class treeListDoc {
public:
    // A new document is "Untitled", has no file and is not modified.
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // Title and path of a file the document now stands for: the title is the part after the last path
    // separator (a backslash or a slash).
    void setFile(const std::string& path);
    bool isUntitled() const { return title_ == kUntitledTreeList; }

private:
    std::string title_ = kUntitledTreeList;
    std::string path_;
    bool modified_ = false;
};

} // namespace grovex
