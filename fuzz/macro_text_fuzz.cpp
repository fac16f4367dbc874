// The text form of a macro: any text is either refused with a message or gives entries whose file bytes
// and text read back to the same entries.

#include "control/macro_store.h"
#include "control/macro_text.h"

#include <cstdlib>
#include <string_view>

using namespace grovex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<MacroEntry> entries;
    std::string error;
    if (!parseMacroText(text, entries, error)) {
        if (error.empty()) {
            std::abort(); // a refusal always says why
        }
        return 0;
    }
    std::vector<MacroEntry> fromFile;
    if (!parseMacroFile(macroFileBytes(entries), fromFile) || fromFile != entries) {
        std::abort();
    }
    std::vector<MacroEntry> fromText;
    if (!parseMacroText(macroText(entries), fromText, error) || fromText != entries) {
        std::abort();
    }
    return 0;
}
