// Macro files: any bytes are either refused, leaving the store empty, or give entries that the program
// writes back as the same entries, in the file form and in the text form.

#include "control/macro_store.h"
#include "control/macro_text.h"

#include <cstdlib>

using namespace grovex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MacroStore store;
    if (!store.loadBytes({data, size})) {
        if (!store.empty()) {
            std::abort(); // a refused file leaves nothing behind
        }
        return 0;
    }
    std::vector<MacroEntry> entries;
    if (!parseMacroFile(store.fileBytes(), entries) || static_cast<int>(entries.size()) != store.lastIndex() + 1) {
        std::abort();
    }
    std::vector<MacroEntry> fromText;
    std::string error;
    if (!parseMacroText(macroText(entries), fromText, error) || fromText != entries) {
        std::abort(); // the text form must hold every entry exactly
    }
    return 0;
}
