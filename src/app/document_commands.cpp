#include "app/document_commands.h"

#include "base/c_format.h"
#include "results/document.h"

namespace grovex {

std::string documentTitleFromPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool DocumentSaver::save(CGROVEXDoc& doc) {
    if (doc.path().empty()) {
        return saveAs(doc);
    }
    return writeTo(doc, doc.path());
}

bool DocumentSaver::saveAs(CGROVEXDoc& doc) {
    FileDialogRequest request;
    request.filter = kDocumentFilter;
    request.defaultExtension = kDocumentExtension;
    request.overwritePrompt = true;
    if (!doc.path().empty()) {
        request.fileName = doc.path();
    } else {
        // A title cannot carry a drive or folder into the proposed name.
        std::string name = doc.title();
        name = name.substr(0, name.find_first_of(":/\\"));
        request.fileName = name.empty() ? name : name + kDocumentExtension;
    }
    const std::optional<std::string> path = ui_.saveFileName(request);
    if (!path) {
        return false;
    }
    return writeTo(doc, *path);
}

bool DocumentSaver::saveModified(CGROVEXDoc& doc) {
    if (!doc.isModified()) {
        return true;
    }
    const std::string prompt = cformat("Save changes to %s?", doc.title().c_str());
    switch (ui_.message(prompt, Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        return save(doc);
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void DocumentSaver::saveAll(const std::vector<CGROVEXDoc*>& documents) {
    for (CGROVEXDoc* doc : documents) {
        save(*doc);
    }
}

bool DocumentSaver::writeTo(CGROVEXDoc& doc, const std::string& path) {
    if (const std::optional<std::string> error = writer_(doc, path)) {
        ui_.message(*error, Buttons::Ok, Icon::Warning);
        return false;
    }
    doc.setModified(false);
    doc.setPath(path);
    doc.setTitle(documentTitleFromPath(path));
    if (saved_) {
        saved_(path);
    }
    return true;
}

} // namespace grovex
