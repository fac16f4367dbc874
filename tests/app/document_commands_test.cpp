#include "app/document_commands.h"
#include "results/document.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <map>

namespace grovex {
namespace {

// Records what was written where; paths in `failing` fail with a message.
struct WriterLog {
    std::vector<std::string> written;
    std::map<std::string, std::string> failing;

    DocumentWriter writer() {
        return [this](CGROVEXDoc&, const std::string& path) -> std::optional<std::string> {
            if (const auto it = failing.find(path); it != failing.end()) {
                return it->second;
            }
            written.push_back(path);
            return std::nullopt;
        };
    }
};

CGROVEXDoc untitled(const std::string& title, bool modified) {
    CGROVEXDoc doc;
    doc.setTitle(title);
    doc.setModified(modified);
    return doc;
}

class DocumentSaverTest : public testing::Test {
protected:
    WriterLog log_;
    fakes::RecordingUi ui_;
    DocumentSaver saver_{ui_, log_.writer()};
};

TEST(UntitledNamesTest, NewDocumentsCountUp) {
    UntitledNames names;
    EXPECT_EQ(names.next(), "GROVEX1");
    EXPECT_EQ(names.next(), "GROVEX2");
    EXPECT_EQ(documentTitleFromPath("/data/tract 7.gvx"), "tract 7.gvx");
}

TEST_F(DocumentSaverTest, SavingAnUntitledDocumentAsksForANameFirst) {
    CGROVEXDoc doc = untitled("GROVEX1", true);
    std::vector<std::string> saved;
    saver_.setSavedHandler([&saved](const std::string& path) { saved.push_back(path); });
    ui_.queueFileName("/data/tract.gvx");
    ASSERT_TRUE(saver_.save(doc));

    ASSERT_EQ(ui_.fileDialogs().size(), 1u);
    EXPECT_EQ(ui_.fileDialogs()[0].filter, "GROVEX Files (*.gvx)|*.gvx|All Files (*.*)|*.*||");
    EXPECT_EQ(ui_.fileDialogs()[0].defaultExtension, ".gvx");
    EXPECT_EQ(ui_.fileDialogs()[0].fileName, "GROVEX1.gvx");
    EXPECT_EQ(log_.written, std::vector<std::string>{"/data/tract.gvx"});
    EXPECT_EQ(saved, std::vector<std::string>{"/data/tract.gvx"});
    EXPECT_EQ(doc.path(), "/data/tract.gvx");
    EXPECT_EQ(doc.title(), "tract.gvx");
    EXPECT_FALSE(doc.isModified());

    // The next Save writes to the same file without asking; Save As proposes it.
    ASSERT_TRUE(saver_.save(doc));
    EXPECT_EQ(ui_.fileDialogs().size(), 1u);
    EXPECT_FALSE(saver_.saveAs(doc));
    EXPECT_EQ(ui_.fileDialogs().back().fileName, "/data/tract.gvx");
    EXPECT_EQ(log_.written.size(), 2u);
}

TEST_F(DocumentSaverTest, AFailedSaveShowsItsMessageAndKeepsTheDocumentAsItWas) {
    CGROVEXDoc doc = untitled("GROVEX1", true);
    log_.failing["/ro/x.gvx"] = "Unable to save /ro/x.gvx: Permission denied.";
    ui_.queueFileName("/ro/x.gvx");
    EXPECT_FALSE(saver_.save(doc));
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{"Unable to save /ro/x.gvx: Permission denied."});
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.path(), "");
    EXPECT_EQ(doc.title(), "GROVEX1");
}

TEST_F(DocumentSaverTest, ClosingAModifiedDocumentAsks) {
    CGROVEXDoc clean = untitled("GROVEX1", false);
    EXPECT_TRUE(saver_.saveModified(clean));
    EXPECT_TRUE(ui_.messages().empty());

    CGROVEXDoc doc = untitled("GROVEX2", true);
    ui_.queueAnswer(Answer::Cancel);
    EXPECT_FALSE(saver_.saveModified(doc));
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_EQ(ui_.messages()[0].text, "Save changes to GROVEX2?");
    EXPECT_EQ(ui_.messages()[0].buttons, Buttons::YesNoCancel);

    ui_.queueAnswer(Answer::No);
    EXPECT_TRUE(saver_.saveModified(doc));
    EXPECT_TRUE(log_.written.empty());

    // Yes with a cancelled name dialog keeps the window open.
    ui_.queueAnswer(Answer::Yes);
    EXPECT_FALSE(saver_.saveModified(doc));
    ui_.queueAnswer(Answer::Yes);
    ui_.queueFileName("/data/g2.gvx");
    EXPECT_TRUE(saver_.saveModified(doc));
    EXPECT_EQ(log_.written, std::vector<std::string>{"/data/g2.gvx"});
}

TEST_F(DocumentSaverTest, SaveAllSavesEveryDocumentAndGoesOnPastACancel) {
    CGROVEXDoc first = untitled("GROVEX1", true);
    CGROVEXDoc second = untitled("GROVEX2", false);
    second.setPath("/data/two.gvx");
    CGROVEXDoc third = untitled("GROVEX3", true);
    ui_.queueFileName(std::nullopt); // GROVEX1: cancelled
    ui_.queueFileName("/data/three.gvx");
    saver_.saveAll({&first, &second, &third});
    EXPECT_EQ(log_.written, (std::vector<std::string>{"/data/two.gvx", "/data/three.gvx"}));
    EXPECT_TRUE(first.isModified());
    EXPECT_FALSE(third.isModified());
}

} // namespace
} // namespace grovex
