#pragma once
// File commands of a simulation document that need no window: Save, Save As, Save All, the question before
// a modified document closes, and the titles of documents.

#include "base/platform/ui.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace grovex {

class CGROVEXDoc;

inline constexpr const char* kDocumentTypeName = "GROVEX";
inline constexpr const char* kDocumentFilter = "GROVEX Files (*.gvx)|*.gvx|All Files (*.*)|*.*||";
inline constexpr const char* kDocumentExtension = ".gvx";

// Titles of new documents: "GROVEX1", "GROVEX2", ... in the order they are created during one run.
class UntitledNames {
public:
    std::string next() { return kDocumentTypeName + std::to_string(++count_); }

private:
    int count_ = 0;
};

// The title of a document read from or saved to `path`: its file name.
std::string documentTitleFromPath(const std::string& path);

// Writes a document to a file and answers an error message, or nothing on success.
using DocumentWriter = std::function<std::optional<std::string>(CGROVEXDoc& doc, const std::string& path)>;

class DocumentSaver {
public:
    DocumentSaver(Ui& ui, DocumentWriter writer) : ui_(ui), writer_(std::move(writer)) {}

    // Called with the path after every successful save (the recent-file list takes it).
    void setSavedHandler(std::function<void(const std::string&)> handler) { saved_ = std::move(handler); }

    // "Save": writes to the document's file, or asks for a name first when it has none. True when written.
    bool save(CGROVEXDoc& doc);
    // "Save As": asks for a name (proposing the current one), then writes. True when written.
    bool saveAs(CGROVEXDoc& doc);
    // Before a modified document closes: "Save changes to %s?" Yes saves, No discards. False when the user
    // cancels or the save does not happen, so the document must stay open.
    bool saveModified(CGROVEXDoc& doc);
    // "Save All": "Save" for each document in turn; a cancelled name dialog skips that document.
    void saveAll(const std::vector<CGROVEXDoc*>& documents);

private:
    bool writeTo(CGROVEXDoc& doc, const std::string& path);

    Ui& ui_;
    DocumentWriter writer_;
    std::function<void(const std::string&)> saved_;
};

} // namespace grovex
