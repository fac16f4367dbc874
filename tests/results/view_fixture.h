#pragma once
// A results view on a document of sample tables, with fake metrics, settings, clipboard and messages,
// and an application directory of its own.

#include "base/c_format.h"
#include "results/view.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/fake_settings.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

namespace grovex {

struct RecordingHost : ViewHost {
    void requestRepaint() override { ++repaints; }
    void scrollChanged() override { ++scrollChanges; }
    void captureMouse(bool capture) override { captures.push_back(capture); }
    int repaints = 0;
    int scrollChanges = 0;
    std::vector<bool> captures;
};

// Two class rows and the total row. With the 18-high fake font (9 by 21) the columns are
// {70, 79, 88, 70, 97, 88, 88} wide: the longest heading line x 9 + 25, except column 4 where the cell
// "123456.7" (8 x 9 + 25 = 97) is wider. The summary has three line breaks and 22 characters at most.
inline ResultTable sampleTable(int number) {
    ResultTable table;
    table.summary = cformat("  Table %02d\r\n  Inputs\r\n\r\n  Site Index =   60.00", number);
    table.headings = {"\nDBH\nClass",        "\nNumber\nTrees ",      "\nAverage\nHeight",    "\nBasal\nArea",
                      "Total\nVolume\no.b.", "Volume\no.b.\nTo 4.in", "Volume\ni.b.\nTo  6in"};
    table.rows = {{3.0f, 12.34f, 30.06f, 1.6f, 123456.7f, 10.0f, 0.0f},
                  {6.99f, 100.0f, 35.26f, 19.6f, 250.0f, 2.5f, 1234.56f},
                  {0.0f, 112.34f, 0.0f, 21.2f, 123706.7f, 12.5f, 1234.56f}};
    return table;
}

class ViewTest : public testing::Test {
protected:
    void SetUp() override {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir = std::filesystem::temp_directory_path() /
              ("grovex_view_" + name + "_" + std::to_string(std::random_device()()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        doc.setTitle("GROVEX1");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void addTables(int count) {
        for (int i = 0; i < count; ++i) {
            doc.model.tables.push_back(sampleTable(static_cast<int>(doc.model.tables.size())));
        }
    }
    std::string appDirectory() const { return dir.string() + "/"; }
    // A started view on a document of the given number of sample tables, in an 800 by 600 client area.
    CGROVEXView& open(int tableCount) {
        addTables(tableCount);
        view = std::make_unique<CGROVEXView>(doc, metrics, settings, ui, clipboard, appDirectory());
        view->setHost(&host);
        view->setClientSize({800, 600});
        view->OnInitialUpdate();
        return *view;
    }
    // The client point in the middle of a cell of the first table (scrolled to the top).
    static Point cellPoint(int row, int column) {
        constexpr int lefts[] = {0, 70, 149, 237, 307, 404, 492};
        return {lefts[column] + 10, 155 + row * 21 + 10};
    }

    std::filesystem::path dir;
    CGROVEXDoc doc;
    fakes::FixedPitchMetrics metrics;
    fakes::FakeSettings settings;
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    RecordingHost host;
    std::unique_ptr<CGROVEXView> view;
};

} // namespace grovex
