#pragma once
// A simulation document: the growth model with its tables, the run and display state of its results view,
// the values its input pages showed last, its modified flag, title and file.

#include "model/growth_model.h"
#include "model/input_pages.h"
#include "model/stand_history.h"

#include <cstdint>
#include <string>

namespace grovex {

// Where a run stands between projection commands.
struct RunState {
    bool needsInit = true;      // the next projection initializes a new run
    bool targetReached = false; // the last projection met its target
    int32_t maxAge = 0;         // the age limit of the run (nyears at initialization)
    bool nextTargetMode = false;
    float bab = 0; // basal area before and after the latest thinning
    float baa = 0;
};

// Which tables the results view draws.
struct DisplayState {
    int32_t firstShown = 0; // first table drawn
    int32_t stepFirst = 0;  // first table made by the latest command
    bool allTables = true;  // draw every table rather than those of the latest command
    std::string standTitle; // title of the last initialization; not stored in the file
};

// After a projection command: which tables the view draws, given the index of the last table before the
// command and now. Showing all tables starts at the first one; otherwise the command's own tables are shown.
inline void UpdateShownRange(DisplayState& display, int oldLastTable, int newLastTable) {
    const bool newTables = newLastTable > oldLastTable;
    if (display.allTables) {
        display.firstShown = 0;
        if (newTables) {
            display.stepFirst = oldLastTable + 1;
        }
    } else if (newTables) {
        display.firstShown = display.stepFirst = oldLastTable + 1;
    }
}

class CGROVEXDoc {
public:
    GrowthModel model;
    RunState run;
    DisplayState display;
    PlantationPageMembers plantationPage;
    VolumeUnitsPageMembers volumeUnitsPage;
    // The stand values of every year the current run passed, for the charts; saved after the tables' layout.
    StandHistory yearly;
    // The file held yearly values that could not be read: the tables are shown, the charts only mark them.
    bool yearlyUnread = false;

    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // The name shown in the window caption: the file name, or "GROVEX1", "GROVEX2", ... for a new one.
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // Full path of the document's file; empty until saved or opened.
    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }

private:
    bool modified_ = false;
    std::string title_;
    std::string path_;
};

} // namespace grovex
