// The simulation document file: every field bit for bit, the byte layout, refused files that change
// nothing, and saves that never lose the previous version.

#include "results/document_file.h"
#include "support/test_paths.h"

#include "model/input1.h"
#include "support/case_names.h"
#include "support/failing_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace grovex {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

uint32_t bits(float value) {
    return std::bit_cast<uint32_t>(value);
}

#define EXPECT_SAME_REAL(a, b) EXPECT_EQ(bits(a), bits(b)) << #a

int32_t int32At(const Bytes& bytes, size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4); // the tests run on little-endian machines
    return value;
}

float realAt(const Bytes& bytes, size_t offset) {
    return std::bit_cast<float>(int32At(bytes, offset));
}

void putInt32At(Bytes& bytes, size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

// Hands out a value no other field has.
class Distinct {
public:
    int32_t integer() { return next_++ * 7 - 300; }
    float real() { return static_cast<float>(next_++) * 0.375f - 100.0f; }

private:
    int32_t next_ = 1;
};

ResultTable tableOf(Distinct& d, std::string summary, int rows) {
    ResultTable table;
    table.summary = std::move(summary);
    for (int r = 0; r < rows; ++r) {
        TableRow row;
        for (float& cell : row) {
            cell = d.real();
        }
        table.rows.push_back(row);
    }
    for (int c = 0; c < kColumnCount; ++c) {
        table.headings[static_cast<size_t>(c)] = "Heading\n" + std::to_string(d.integer());
    }
    for (int32_t* value : {&table.headingTop, &table.summaryWidth, &table.summaryBottom, &table.tableTop,
                           &table.rowsTop, &table.tableBottom}) {
        *value = d.integer();
    }
    return table;
}

// Every field the file holds gets its own value, some of them NaNs with payloads, subnormals and negative
// zeros; texts sit at their longest, flags alternate.
CGROVEXDoc everyFieldDocument() {
    Distinct d;
    CGROVEXDoc doc;
    GrowthModel& m = doc.model;
    m.tables.push_back(tableOf(d, std::string(300, 's') + "\r\n Growing Seasons Completed =   12.00\r\n", 41));
    m.tables.push_back(
        tableOf(d, "                            " + std::string("      Thinned Trees     ") + "\r\n", 1));
    m.tables.push_back(tableOf(d, " Growing Seasons Completed =   14.00", 0));
    m.tables.push_back(tableOf(d, "", 2));
    m.tables[0].rows[5][3] = std::bit_cast<float>(0xFFC0BEEFu);
    for (int i = 1; i <= kMaxRecords; ++i) {
        for (SlotArray* slots : {&m.dbh, &m.freq, &m.thinFreq, &m.ht, &m.crownRatio, &m.crownLength}) {
            (*slots)[static_cast<size_t>(i)] = d.real();
        }
    }
    m.dbh[1] = std::bit_cast<float>(0x7FA12345u); // signalling NaN with a payload
    m.freq[2] = std::bit_cast<float>(1u);         // smallest subnormal
    m.crownLength[300] = -0.0f;
    m.nrec = kMaxRecords;
    for (float* value :
         {&m.ts,       &m.tba,       &m.hd,        &m.dq,        &m.dmax,         &m.hMean,    &m.crMean,
          &m.rs,       &m.cords,     &m.site,      &m.exage,     &m.tp,           &m.ps,       &m.hdwdpercnt,
          &m.target,   &m.voltop,    &m.rcut,      &m.dlow,      &m.dhigh,        &m.tlim,     &m.thinRatio,
          &m.plotArea, &m.weibull.a, &m.weibull.b, &m.weibull.c, &m.weibull.mean, &m.weibull.Q}) {
        *value = d.real();
    }
    m.site = -0.0f;
    m.weibull.Q = std::bit_cast<float>(0x7FC00001u);
    for (int32_t* value :
         {&m.age, &m.nyears, &m.pcrit, &m.vtype, &m.voltyp, &m.ithin, &m.kt, &m.ilow, &m.kfert, &m.lbn}) {
        *value = d.integer();
    }
    for (size_t k = 0; k < 3; ++k) {
        m.vola[k] = d.real();
        m.volb[k] = d.real();
        m.voldbh[k] = d.integer();
    }
    m.qexist = 1;
    m.qlist = 0;
    m.qtba = 1;
    m.qdrain = 0;
    m.qhdwd = 1;
    m.qthin = 0;
    m.qfert = 1;
    m.qphos = 0;
    m.reservedA = 0x12345678; // written and read as it is
    m.reservedB = -5;
    m.title = std::string(kMaxTitleLength, 'T');
    m.volnam = {std::string(kMaxVolumeNameLength, 'n'), "second", "third"};
    m.spareName = std::string(kMaxVolumeNameLength, 'p');

    doc.run.needsInit = false;
    doc.run.targetReached = true;
    doc.run.maxAge = d.integer();
    doc.run.bab = d.real();
    doc.run.baa = d.real();
    doc.display.firstShown = 2;
    doc.display.stepFirst = 1;

    VolumeUnitsPageMembers& v = doc.volumeUnitsPage;
    for (int32_t* value : {&v.boardFootRule, &v.barkType, &v.vtype, &v.minDbhClass, &v.equationMinDbh[0],
                           &v.equationMinDbh[1], &v.equationMinDbh[2]}) {
        *value = d.integer();
    }
    for (float* value : {&v.voltop, &v.a[0], &v.a[1], &v.a[2], &v.b[0], &v.b[1], &v.b[2]}) {
        *value = d.real();
    }
    v.b[2] = -0.0f;
    v.names = {std::string(kMaxPageNameLength, 'N'), "", "saw logs"};

    PlantationPageMembers& p = doc.plantationPage;
    p.pcrit = d.integer();
    p.nyears = d.integer();
    p.exage = d.integer();
    for (float* value : {&p.target, &p.hdwdpercnt, &p.tba, &p.ts, &p.tp, &p.ps}) {
        *value = d.real();
    }
    p.site = kPageNeverFilled;
    p.title = std::string(kMaxTitleLength, 'P');
    p.qdrain = true;
    p.qlist = false;
    p.qexist = true;
    return doc;
}

void expectSameFileFields(const CGROVEXDoc& a, const CGROVEXDoc& b) {
    EXPECT_EQ(a.run.needsInit, b.run.needsInit);
    EXPECT_EQ(a.run.maxAge, b.run.maxAge);
    EXPECT_EQ(a.run.targetReached, b.run.targetReached);
    EXPECT_SAME_REAL(a.run.bab, b.run.bab);
    EXPECT_SAME_REAL(a.run.baa, b.run.baa);
    EXPECT_EQ(a.display.firstShown, b.display.firstShown);
    EXPECT_EQ(a.display.stepFirst, b.display.stepFirst);

    const GrowthModel& x = a.model;
    const GrowthModel& y = b.model;
    ASSERT_EQ(x.tables.size(), y.tables.size());
    for (size_t t = 0; t < x.tables.size(); ++t) {
        const ResultTable& s = x.tables[t];
        const ResultTable& u = y.tables[t];
        EXPECT_EQ(s.summary, u.summary) << t;
        EXPECT_EQ(s.headings, u.headings) << t;
        ASSERT_EQ(s.rows.size(), u.rows.size()) << t;
        for (size_t r = 0; r < s.rows.size(); ++r) {
            // Bit for bit: NaNs and negative zeros must come back as they were written.
            // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
            EXPECT_EQ(std::memcmp(s.rows[r].data(), u.rows[r].data(), sizeof(TableRow)), 0) << t << ' ' << r;
        }
        EXPECT_EQ(s.headingTop, u.headingTop) << t;
        EXPECT_EQ(s.summaryWidth, u.summaryWidth) << t;
        EXPECT_EQ(s.summaryBottom, u.summaryBottom) << t;
        EXPECT_EQ(s.tableTop, u.tableTop) << t;
        EXPECT_EQ(s.rowsTop, u.rowsTop) << t;
        EXPECT_EQ(s.tableBottom, u.tableBottom) << t;
    }
    for (auto slots : {&GrowthModel::dbh, &GrowthModel::freq, &GrowthModel::thinFreq, &GrowthModel::ht,
                       &GrowthModel::crownRatio, &GrowthModel::crownLength}) {
        // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): bit for bit, as above
        EXPECT_EQ(std::memcmp((x.*slots).data() + 1, (y.*slots).data() + 1, kMaxRecords * sizeof(float)), 0);
    }
    for (auto real : {&GrowthModel::ts,        &GrowthModel::tba,        &GrowthModel::hd,     &GrowthModel::dq,
                      &GrowthModel::dmax,      &GrowthModel::hMean,      &GrowthModel::crMean, &GrowthModel::rs,
                      &GrowthModel::cords,     &GrowthModel::site,       &GrowthModel::exage,  &GrowthModel::tp,
                      &GrowthModel::ps,        &GrowthModel::hdwdpercnt, &GrowthModel::target, &GrowthModel::voltop,
                      &GrowthModel::rcut,      &GrowthModel::dlow,       &GrowthModel::dhigh,  &GrowthModel::tlim,
                      &GrowthModel::thinRatio, &GrowthModel::plotArea}) {
        EXPECT_SAME_REAL(x.*real, y.*real);
    }
    for (auto integer : {&GrowthModel::nrec,      &GrowthModel::age,   &GrowthModel::nyears, &GrowthModel::qexist,
                         &GrowthModel::qlist,     &GrowthModel::qtba,  &GrowthModel::qdrain, &GrowthModel::qhdwd,
                         &GrowthModel::pcrit,     &GrowthModel::vtype, &GrowthModel::voltyp, &GrowthModel::reservedA,
                         &GrowthModel::reservedB, &GrowthModel::qthin, &GrowthModel::ithin,  &GrowthModel::kt,
                         &GrowthModel::ilow,      &GrowthModel::qfert, &GrowthModel::kfert,  &GrowthModel::lbn,
                         &GrowthModel::qphos}) {
        EXPECT_EQ(x.*integer, y.*integer);
    }
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_SAME_REAL(x.vola[k], y.vola[k]);
        EXPECT_SAME_REAL(x.volb[k], y.volb[k]);
        EXPECT_EQ(x.voldbh[k], y.voldbh[k]);
    }
    EXPECT_EQ(x.title, y.title);
    EXPECT_EQ(x.volnam[0], y.volnam[0]);
    EXPECT_EQ(x.spareName, y.spareName);
    for (auto real : {&WeibullFit::a, &WeibullFit::b, &WeibullFit::c, &WeibullFit::mean, &WeibullFit::Q}) {
        EXPECT_SAME_REAL(x.weibull.*real, y.weibull.*real);
    }

    const VolumeUnitsPageMembers& v = a.volumeUnitsPage;
    const VolumeUnitsPageMembers& w = b.volumeUnitsPage;
    EXPECT_EQ(v.boardFootRule, w.boardFootRule);
    EXPECT_EQ(v.barkType, w.barkType);
    EXPECT_EQ(v.vtype, w.vtype);
    EXPECT_EQ(v.minDbhClass, w.minDbhClass);
    EXPECT_SAME_REAL(v.voltop, w.voltop);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_SAME_REAL(v.a[k], w.a[k]);
        EXPECT_SAME_REAL(v.b[k], w.b[k]);
    }
    EXPECT_EQ(v.equationMinDbh, w.equationMinDbh);
    EXPECT_EQ(v.names, w.names);

    const PlantationPageMembers& p = a.plantationPage;
    const PlantationPageMembers& q = b.plantationPage;
    EXPECT_EQ(p.pcrit, q.pcrit);
    EXPECT_EQ(p.nyears, q.nyears);
    EXPECT_EQ(p.exage, q.exage);
    for (auto real : {&PlantationPageMembers::target, &PlantationPageMembers::hdwdpercnt, &PlantationPageMembers::tba,
                      &PlantationPageMembers::site, &PlantationPageMembers::ts, &PlantationPageMembers::tp,
                      &PlantationPageMembers::ps}) {
        EXPECT_SAME_REAL(p.*real, q.*real);
    }
    EXPECT_EQ(p.title, q.title);
    EXPECT_EQ(p.qdrain, q.qdrain);
    EXPECT_EQ(p.qlist, q.qlist);
    EXPECT_EQ(p.qexist, q.qexist);
}

TEST(DocumentFile, EveryFieldSurvivesARoundTripBitForBit) {
    CGROVEXDoc original = everyFieldDocument();
    original.setModified(true);
    const Bytes bytes = storeDocument(original);
    EXPECT_FALSE(original.isModified()) << "storing clears the modified flag";

    CGROVEXDoc loaded;
    loaded.setModified(true);
    loaded.setTitle("GROVEX1");
    ASSERT_EQ(loadDocument(loaded, bytes), DocumentLoad::Ok);
    EXPECT_TRUE(loaded.isModified()) << "loading leaves the flag, title and path to the caller";
    EXPECT_EQ(loaded.title(), "GROVEX1");
    expectSameFileFields(original, loaded);
    EXPECT_EQ(storeDocument(loaded), bytes);

    // Not in the file: the names of equations 2 and 3, and what each table was made from.
    EXPECT_EQ(loaded.model.volnam[1], "-blank-");
    EXPECT_EQ(loaded.model.volnam[2], "-blank-");
    std::vector<std::pair<int, int>> kindsAndAges;
    for (const ResultTable& table : loaded.model.tables) {
        kindsAndAges.emplace_back(table.kind, table.age);
    }
    const int modelAge = original.model.age;
    EXPECT_EQ(kindsAndAges,
              (std::vector<std::pair<int, int>>{
                  {kLiveTreeTable, 12}, {kThinnedTreeTable, 14}, {kLiveTreeTable, 14}, {kLiveTreeTable, modelAge}}));
}

// A plain document without tables whose values are easy to find in the bytes.
CGROVEXDoc noTablesDocument() {
    CGROVEXDoc doc;
    GrowthModel& m = doc.model;
    m.dbh[1] = 1.5f;
    m.freq[1] = 2.5f;
    m.crownLength[300] = 3.5f;
    m.dmax = 9.25f;
    m.qhdwd = 1;
    m.qexist = 1;
    m.qdrain = 1;
    m.qthin = 1;
    m.ithin = 3;
    m.age = 17;
    m.kt = 12;
    m.target = 25.0f;
    m.hdwdpercnt = 0.25f;
    m.lbn = 150;
    m.title = "Tract 7";
    m.volnam[0] = "pulp";
    m.voldbh = {7, 8, 9};
    m.voltop = 4.0f;
    m.nrec = 123;
    m.weibull.a = 0.5f;
    m.weibull.Q = 64.0f;
    doc.run.needsInit = false;
    doc.run.maxAge = 60;
    doc.run.targetReached = true;
    doc.run.bab = 110.0f;
    doc.run.baa = 70.0f;
    doc.display.firstShown = 3;
    doc.display.stepFirst = 4;
    VolumeUnitsPageMembers& v = doc.volumeUnitsPage;
    v.barkType = 2;
    v.vtype = 1;
    v.minDbhClass = 7;
    v.voltop = 4.0f;
    v.a[2] = -1.0f;
    v.b[0] = 0.002f;
    v.equationMinDbh = {1, 5, 9};
    v.names = {"pulp", "", "saw"};
    PlantationPageMembers& p = doc.plantationPage;
    p.pcrit = 1;
    p.target = 25.0f;
    p.hdwdpercnt = -1.0f;
    p.nyears = 60;
    p.site = 60.0f;
    p.exage = 2;
    p.ps = 90.0f;
    p.title = "Tract 7";
    p.qdrain = true;
    p.qexist = true;
    return doc;
}

// Offsets counted row by row: 7 ints, 1800 register reals, dmax, 6 + 5 + 4 + 3 flag words, 2 ints, 4 reals,
// 2 ints, a real, an int, a real, 2 ints, 14 reals, an int, then the texts.
constexpr size_t kRegisterAt = 7 * 4;                                   // 28
constexpr size_t kDmaxAt = kRegisterAt + 1800 * 4;                      // 7228
constexpr size_t kFlagsAt = kDmaxAt + 4;                                // 7232: qhdwd, qexist, qlist, A, qdrain, qtba
constexpr size_t kFlagCopiesAt = kFlagsAt + 6 * 4;                      // 7256
constexpr size_t kTreatmentFlagsAt = kFlagCopiesAt + 5 * 4;             // 7276: B, qthin, qfert, qphos
constexpr size_t kTreatmentCopiesAt = kTreatmentFlagsAt + 4 * 4;        // 7292
constexpr size_t kIthinAt = kTreatmentCopiesAt + 3 * 4;                 // 7304
constexpr size_t kAgeAt = kIthinAt + 2 * 4 + 4 * 4;                     // 7328
constexpr size_t kNyearsAt = kAgeAt + 2 * 4 + 4 + 4 + 4;                // 7348
constexpr size_t kStandRealsAt = kNyearsAt + 2 * 4;                     // 7356: target ... hdwdpercnt
constexpr size_t kLbnAt = kStandRealsAt + 14 * 4;                       // 7412
constexpr size_t kTitleAt = kLbnAt + 4;                                 // 7416
constexpr size_t kEquationsAt = kTitleAt + (1 + 7) + (1 + 4) + (1 + 1); // 7431: "Tract 7", "pulp", " "
constexpr size_t kVoltopAt = kEquationsAt + 3 * 12;                     // 7467
constexpr size_t kNrecAt = kVoltopAt + 4 + 2 * 4;                       // 7479
constexpr size_t kWeibullAt = kNrecAt + 4;                              // 7483
constexpr size_t kBabAt = kWeibullAt + 5 * 4;                           // 7503
constexpr size_t kUnitsPageAt = kBabAt + 2 * 4;                         // 7511
constexpr size_t kPageNamesAt = kUnitsPageAt + 4 * 4 + 7 * 4 + 3 * 4;   // 7567
constexpr size_t kPlantationPageAt = kPageNamesAt + (1 + 4) + 1 + (1 + 3); // 7577
constexpr size_t kPageTitleAt = kPlantationPageAt + 10 * 4;                // 7617
constexpr size_t kPageFlagsAt = kPageTitleAt + 1 + 7;                      // 7625
constexpr size_t kNoTablesSize = kPageFlagsAt + 3 * 4;                     // 7637

TEST(DocumentFile, LayoutOfADocumentWithoutTables) {
    CGROVEXDoc doc = noTablesDocument();
    const Bytes bytes = storeDocument(doc);
    ASSERT_EQ(bytes.size(), kNoTablesSize);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0xFC, 0xC9, 0x9A, 0x3B})); // 999999996
    EXPECT_EQ(int32At(bytes, 4), 0);                                                     // needsInit
    EXPECT_EQ(int32At(bytes, 8), 60);
    EXPECT_EQ(int32At(bytes, 12), 1);
    EXPECT_EQ(int32At(bytes, 16), 3);
    EXPECT_EQ(int32At(bytes, 20), 4);
    EXPECT_EQ(int32At(bytes, 24), -1); // lastTable
    EXPECT_EQ(realAt(bytes, kRegisterAt), 1.5f);
    EXPECT_EQ(realAt(bytes, kRegisterAt + 4), 2.5f);
    EXPECT_EQ(realAt(bytes, kDmaxAt - 4), 3.5f); // crownLength of slot 300
    EXPECT_EQ(realAt(bytes, kDmaxAt), 9.25f);
    for (size_t at : {kFlagsAt, kFlagsAt + 4, kFlagsAt + 16, kFlagCopiesAt, kFlagCopiesAt + 12, kTreatmentFlagsAt + 4,
                      kTreatmentFlagsAt + 12, kTreatmentCopiesAt, kTreatmentCopiesAt + 8}) {
        EXPECT_EQ(int32At(bytes, at), 1) << at; // qhdwd, qexist, qdrain, their copies, qthin, qphos
    }
    EXPECT_EQ(int32At(bytes, kFlagsAt + 8), 0); // qlist
    EXPECT_EQ(int32At(bytes, kIthinAt), 3);
    EXPECT_EQ(int32At(bytes, kAgeAt), 17);
    EXPECT_EQ(int32At(bytes, kAgeAt + 4), 12);
    EXPECT_EQ(int32At(bytes, kNyearsAt), 60);
    EXPECT_EQ(realAt(bytes, kStandRealsAt), 25.0f);
    EXPECT_EQ(realAt(bytes, kStandRealsAt + 13 * 4), 0.25f); // hdwdpercnt
    EXPECT_EQ(int32At(bytes, kLbnAt), 150);
    EXPECT_EQ(std::string(bytes.begin() + kTitleAt, bytes.begin() + kTitleAt + 8), "\x07Tract 7");
    EXPECT_EQ(int32At(bytes, kEquationsAt + 8), 7);          // voldbh[0] after vola[0], volb[0]
    EXPECT_EQ(int32At(bytes, kEquationsAt + 2 * 12 + 8), 9); // voldbh[2]
    EXPECT_EQ(realAt(bytes, kVoltopAt), 4.0f);
    EXPECT_EQ(int32At(bytes, kNrecAt), 123);
    EXPECT_EQ(realAt(bytes, kWeibullAt), 0.5f);
    EXPECT_EQ(realAt(bytes, kWeibullAt + 16), 64.0f);
    EXPECT_EQ(realAt(bytes, kBabAt), 110.0f);
    EXPECT_EQ(int32At(bytes, kUnitsPageAt + 4), 2); // bark type
    EXPECT_EQ(realAt(bytes, kUnitsPageAt + 16 + 12), -1.0f);
    EXPECT_EQ(int32At(bytes, kUnitsPageAt + 16 + 28 + 4), 5);
    EXPECT_EQ(std::string(bytes.begin() + kPageNamesAt, bytes.begin() + kPlantationPageAt),
              std::string("\x04pulp\x00\x03saw", 10));
    EXPECT_EQ(realAt(bytes, kPlantationPageAt + 8), -1.0f); // hdwdpercnt of the page
    EXPECT_EQ(int32At(bytes, kPageFlagsAt), 1);
    EXPECT_EQ(int32At(bytes, kPageFlagsAt + 4), 0);
    EXPECT_EQ(int32At(bytes, kPageFlagsAt + 8), 1);

    // The committed file was made by this writer; any change of the format shows here first.
    const fs::path golden = fs::path(testData("document_no_tables.gvx"));
    if (std::getenv("GROVEX_REGENERATE_FIXTURES") != nullptr) {
        std::ofstream(golden, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const FileContent committed = readFile(golden.string(), kDocumentFileCap);
    ASSERT_TRUE(committed.ok()) << committed.error;
    EXPECT_EQ(committed.bytes, bytes);
}

TEST(DocumentFile, LayoutOfATableBlock) {
    CGROVEXDoc doc = noTablesDocument();
    ResultTable table;
    table.summary = "abc";
    table.rows = {TableRow{1, 2, 3, 4, 5, 6, 7}, TableRow{0, 20, 0, 40, 50, 60, 70}};
    table.headings = {"h0", "h1", "h2", "h3", "h4", "h5", "h6"};
    table.headingTop = 101;
    table.summaryWidth = 102;
    table.summaryBottom = 103;
    table.tableTop = 104;
    table.rowsTop = 105;
    table.tableBottom = 106;
    table.colWidth = {9, 9, 9, 9, 9, 9, 9}; // not stored
    doc.model.tables.push_back(table);
    const Bytes bytes = storeDocument(doc);

    // summary 1 + 3, lastRow, 6 layout ints, lastColumn, 2 x 7 reals, 7 headings of 1 + 2.
    const size_t block = 4 + 4 + 6 * 4 + 4 + 14 * 4 + 7 * 3;
    ASSERT_EQ(bytes.size(), kNoTablesSize + block);
    EXPECT_EQ(int32At(bytes, 24), 0);
    EXPECT_EQ(std::string(bytes.begin() + 28, bytes.begin() + 32), "\x03"
                                                                   "abc");
    EXPECT_EQ(int32At(bytes, 32), 1); // lastRow
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(int32At(bytes, 36 + 4 * static_cast<size_t>(k)), 101 + k);
    }
    EXPECT_EQ(int32At(bytes, 60), 6); // lastColumn
    EXPECT_EQ(realAt(bytes, 64), 1.0f);
    EXPECT_EQ(realAt(bytes, 64 + 6 * 4), 7.0f);
    EXPECT_EQ(realAt(bytes, 64 + 8 * 4), 20.0f);
    EXPECT_EQ(std::string(bytes.begin() + 120, bytes.begin() + 126), "\x02h0\x02h1");
    EXPECT_EQ(realAt(bytes, 28 + block), 1.5f); // the register follows the block
}

TEST(DocumentFile, FlagWordsReadAsSetWhenNonZeroAndCopiesWin) {
    CGROVEXDoc doc = noTablesDocument();
    Bytes bytes = storeDocument(doc);
    putInt32At(bytes, 4, 7);                       // needsInit
    putInt32At(bytes, kFlagsAt + 4, 0);            // qexist ...
    putInt32At(bytes, kFlagCopiesAt, 1);           // ... read again from its copy
    putInt32At(bytes, kFlagsAt + 16, 1);           // qdrain ...
    putInt32At(bytes, kFlagCopiesAt + 12, 0);      // ... cleared by its copy
    putInt32At(bytes, kTreatmentCopiesAt + 4, -3); // qfert
    putInt32At(bytes, kPageFlagsAt + 4, 2);        // qlist of the page

    CGROVEXDoc loaded;
    ASSERT_EQ(loadDocument(loaded, bytes), DocumentLoad::Ok);
    EXPECT_TRUE(loaded.run.needsInit);
    EXPECT_EQ(loaded.model.qexist, 1);
    EXPECT_EQ(loaded.model.qdrain, 0);
    EXPECT_EQ(loaded.model.qfert, 1);
    EXPECT_TRUE(loaded.plantationPage.qlist);
}

// A document as a user makes it: initialized, projected, thinned by rows and from below (two pairs of
// thinned and residual tables) and projected again.
CGROVEXDoc projectedDocument() {
    CGROVEXDoc doc;
    GrowthModel& m = doc.model;
    Input1 input;
    input.target = 15;
    input.title = "Thinned at 15";
    WriteInput1(m, input);
    EXPECT_TRUE(StartRun(m));
    m.ProjectToTarget();
    m.qthin = 1;
    m.ithin = 3;
    m.tlim = 60;
    m.Thin();
    m.target = 25;
    m.ProjectToTarget();
    doc.run.needsInit = false;
    doc.run.maxAge = m.nyears;
    doc.run.targetReached = true;
    return doc;
}

TEST(DocumentFile, TableKindsAndAgesAreRebuiltAsTheModelMadeThem) {
    CGROVEXDoc doc = projectedDocument();
    ASSERT_EQ(doc.model.tables.size(), 6u);
    CGROVEXDoc loaded;
    ASSERT_EQ(loadDocument(loaded, storeDocument(doc)), DocumentLoad::Ok);
    for (size_t t = 0; t < doc.model.tables.size(); ++t) {
        EXPECT_EQ(loaded.model.tables[t].kind, doc.model.tables[t].kind) << t;
        EXPECT_EQ(loaded.model.tables[t].age, doc.model.tables[t].age) << t;
    }

    // A thinned table with no live table after it takes the model's age.
    doc.model.tables.resize(2);
    doc.model.age = 31;
    ASSERT_EQ(loadDocument(loaded, storeDocument(doc)), DocumentLoad::Ok);
    EXPECT_EQ(loaded.model.tables[1].kind, kThinnedTreeTable);
    EXPECT_EQ(loaded.model.tables[1].age, 31);
}

// Loads into a document that already holds other content and expects the result and, unless the load
// succeeded, no change at all.
void expectLoad(const Bytes& bytes, DocumentLoad expected, const std::string& what) {
    CGROVEXDoc target = everyFieldDocument();
    CGROVEXDoc copy = everyFieldDocument();
    const Bytes before = storeDocument(copy);
    target.setModified(true);
    ASSERT_EQ(loadDocument(target, bytes), expected) << what;
    if (expected != DocumentLoad::Ok) {
        EXPECT_TRUE(target.isModified()) << what;
        EXPECT_EQ(target.model.volnam[1], "second") << what;
        EXPECT_EQ(storeDocument(target), before) << what;
    }
}

TEST(DocumentFile, ATruncatedFileIsRefusedAtEveryLengthAndChangesNothing) {
    CGROVEXDoc doc = projectedDocument();
    const Bytes bytes = storeDocument(doc);
    CGROVEXDoc target = everyFieldDocument();
    CGROVEXDoc copy = everyFieldDocument();
    const Bytes before = storeDocument(copy);
    for (size_t length = 0; length < bytes.size(); ++length) {
        target.setModified(true);
        ASSERT_EQ(loadDocument(target, std::span<const uint8_t>(bytes.data(), length)), DocumentLoad::UnexpectedFormat)
            << length;
        ASSERT_TRUE(target.isModified()) << length;
        ASSERT_EQ(storeDocument(target), before) << length;
    }
}

struct LimitCase {
    const char* name;
    std::function<void(CGROVEXDoc&)> change;
    std::function<void(Bytes&)> patch;
    DocumentLoad expected;
};

// One table with a one-character summary and no rows: lastRow at 30, lastColumn at 58, the seven empty
// headings at 62 to 68.
CGROVEXDoc oneEmptyTable() {
    CGROVEXDoc doc = noTablesDocument();
    ResultTable table;
    table.summary = "s";
    doc.model.tables.push_back(table);
    return doc;
}

void noChange(CGROVEXDoc&) {}
void noPatch(Bytes&) {}

const LimitCase kLimitCases[] = {
    {"HundredTables", [](CGROVEXDoc& d) { d.model.tables.resize(100); }, noPatch, DocumentLoad::Ok},
    {"HundredAndOneTables", [](CGROVEXDoc& d) { d.model.tables.resize(101); }, noPatch, DocumentLoad::UnexpectedFormat},
    {"LastTableBelowMinusOne", [](CGROVEXDoc& d) { d.model.tables.clear(); }, [](Bytes& b) { putInt32At(b, 24, -2); },
     DocumentLoad::UnexpectedFormat},
    {"TwoHundredRows", [](CGROVEXDoc& d) { d.model.tables[0].rows.resize(200); }, noPatch, DocumentLoad::Ok},
    {"TwoHundredAndOneRows", [](CGROVEXDoc& d) { d.model.tables[0].rows.resize(201); }, noPatch,
     DocumentLoad::UnexpectedFormat},
    {"LastRowBelowMinusOne", noChange, [](Bytes& b) { putInt32At(b, 30, -2); }, DocumentLoad::UnexpectedFormat},
    {"SixColumns", noChange,
     [](Bytes& b) {
         putInt32At(b, 58, 5);
         b.erase(b.begin() + 68); // six headings, as that column count says
     },
     DocumentLoad::UnexpectedFormat},
    {"EightColumns", noChange,
     [](Bytes& b) {
         putInt32At(b, 58, 7);
         b.insert(b.begin() + 69, 0); // eight headings
     },
     DocumentLoad::UnexpectedFormat},
    {"TitleOf79", [](CGROVEXDoc& d) { d.model.title.assign(79, 't'); }, noPatch, DocumentLoad::Ok},
    {"TitleOf80", [](CGROVEXDoc& d) { d.model.title.assign(80, 't'); }, noPatch, DocumentLoad::UnexpectedFormat},
    {"NameOf14", [](CGROVEXDoc& d) { d.model.volnam[0].assign(14, 'n'); }, noPatch, DocumentLoad::Ok},
    {"NameOf15", [](CGROVEXDoc& d) { d.model.volnam[0].assign(15, 'n'); }, noPatch, DocumentLoad::UnexpectedFormat},
    {"SpareNameOf15", [](CGROVEXDoc& d) { d.model.spareName.assign(15, 's'); }, noPatch,
     DocumentLoad::UnexpectedFormat},
    {"PageNameOf15", [](CGROVEXDoc& d) { d.volumeUnitsPage.names[2].assign(15, 'n'); }, noPatch, DocumentLoad::Ok},
    {"PageNameOf16", [](CGROVEXDoc& d) { d.volumeUnitsPage.names[2].assign(16, 'n'); }, noPatch,
     DocumentLoad::UnexpectedFormat},
    {"PageTitleOf80", [](CGROVEXDoc& d) { d.plantationPage.title.assign(80, 'p'); }, noPatch,
     DocumentLoad::UnexpectedFormat},
    {"SummaryOf1008", [](CGROVEXDoc& d) { d.model.tables[0].summary.assign(1008, 's'); }, noPatch, DocumentLoad::Ok},
    {"SummaryOf1009", [](CGROVEXDoc& d) { d.model.tables[0].summary.assign(1009, 's'); }, noPatch,
     DocumentLoad::UnexpectedFormat},
    {"HeadingOf56", [](CGROVEXDoc& d) { d.model.tables[0].headings[6].assign(56, 'h'); }, noPatch, DocumentLoad::Ok},
    {"HeadingOf57", [](CGROVEXDoc& d) { d.model.tables[0].headings[6].assign(57, 'h'); }, noPatch,
     DocumentLoad::UnexpectedFormat},
    {"ThreeHundredRecords", [](CGROVEXDoc& d) { d.model.nrec = 300; }, noPatch, DocumentLoad::Ok},
    {"ThreeHundredAndOneRecords", [](CGROVEXDoc& d) { d.model.nrec = 301; }, noPatch, DocumentLoad::UnexpectedFormat},
    {"NegativeRecordCount", [](CGROVEXDoc& d) { d.model.nrec = -1; }, noPatch, DocumentLoad::UnexpectedFormat},
    {"TrailingBytesAreIgnored", noChange,
     [](Bytes& b) {
         b.insert(b.end(), {1, 2, 3, 4, 5});
     },
     DocumentLoad::Ok},
    {"EmptyFile", noChange, [](Bytes& b) { b.clear(); }, DocumentLoad::UnexpectedFormat},
    {"OlderVersion", noChange, [](Bytes& b) { putInt32At(b, 0, 999999995); }, DocumentLoad::WrongVersion},
    {"VersionOnly", noChange, [](Bytes& b) { b.resize(4); }, DocumentLoad::UnexpectedFormat},
};

class DocumentFileLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(DocumentFileLimits, RefusesWhatTheDocumentCannotHold) {
    const LimitCase& c = GetParam();
    CGROVEXDoc doc = oneEmptyTable();
    c.change(doc);
    Bytes bytes = storeDocument(doc);
    c.patch(bytes);
    expectLoad(bytes, c.expected, c.name);
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentFileLimits, ::testing::ValuesIn(kLimitCases), RowName());

class ScratchDirectory {
public:
    ScratchDirectory() { path_ = makeScratchFolder("grovex-document").value(); }
    ~ScratchDirectory() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    size_t entryCount() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
    }

private:
    fs::path path_;
};

// Whatever the stand values, a table the model makes fits the text limits, so that its document reads back.
TEST(DocumentFile, TheWidestTableTheModelMakesReadsBack) {
    CGROVEXDoc doc = noTablesDocument();
    GrowthModel& m = doc.model;
    for (float* value :
         {&m.site, &m.tba, &m.dq, &m.hMean, &m.hd, &m.rs, &m.crMean, &m.cords, &m.hdwdpercnt, &m.voltop}) {
        *value = -std::numeric_limits<float>::max();
    }
    m.age = std::numeric_limits<int32_t>::min();
    m.qhdwd = 1;
    m.vtype = kCubicFeet;
    m.voltyp = 1;
    m.MakeTable(kLiveTreeTable);
    const ResultTable& table = m.tables.back();
    EXPECT_LE(table.summary.size(), kMaxSummaryLength);
    EXPECT_EQ(table.headings[6].size(), kMaxHeadingLength);

    CGROVEXDoc loaded;
    ASSERT_EQ(loadDocument(loaded, storeDocument(doc)), DocumentLoad::Ok);
    EXPECT_EQ(loaded.model.tables.back().summary, table.summary);
}

// 100 tables of 200 rows, every text at its longest. The writer gives each text the shortest length prefix,
// 3 bytes for the 100 summaries and 1 for the 707 other texts; with the longest, 7 bytes, the file is exactly
// the cap. The loader ignores bytes after the last field, so padding stands in for the longer prefixes.
TEST(DocumentFile, TheLargestDocumentIsExactlyTheCapAndALargerFileIsNotRead) {
    CGROVEXDoc doc = everyFieldDocument();
    Distinct d;
    doc.model.tables.clear();
    for (int t = 0; t < kMaxTables; ++t) {
        ResultTable table = tableOf(d, std::string(kMaxSummaryLength, 's'), kMaxRows);
        for (std::string& heading : table.headings) {
            heading.assign(kMaxHeadingLength, 'h');
        }
        doc.model.tables.push_back(std::move(table));
    }
    doc.model.volnam[0].assign(kMaxVolumeNameLength, 'n');
    doc.volumeUnitsPage.names = {std::string(15, 'a'), std::string(15, 'b'), std::string(15, 'c')};
    Bytes bytes = storeDocument(doc);
    const size_t longerPrefixes = 100 * (7 - 3) + 707 * (7 - 1);
    EXPECT_EQ(bytes.size() + longerPrefixes, size_t{716684});
    // The yearly values after the layout: tag, count and 1000 points of an age and 12 values, 8 + 52,000.
    const size_t yearly = 8 + 1000 * (4 + 12 * 4);
    EXPECT_EQ(kDocumentFileCap.largestSize, size_t{716684} + yearly);

    ScratchDirectory dir;
    const std::string path = (dir.path() / "largest.gvx").string();
    bytes.resize(bytes.size() + longerPrefixes + yearly);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const OpenedDocument largest = openDocument(path);
    ASSERT_TRUE(largest.ok()) << largest.error;
    EXPECT_EQ(largest.document->model.tables.size(), size_t{100});

    std::ofstream(path, std::ios::binary | std::ios::app).put('\0');
    const OpenedDocument larger = openDocument(path);
    EXPECT_EQ(larger.result, DocumentLoad::Unreadable);
    EXPECT_EQ(larger.error, "Unable to open " + path + ": it is larger than the largest document file (768692 bytes).");
}

// Two points whose every value differs, one of them a NaN with a payload.
StandHistory twoYears() {
    StandHistory history;
    StandPoint point;
    for (int32_t age : {10, 11}) {
        point.age = age;
        for (size_t v = 0; v < kStandValueCount; ++v) {
            point.values[v] = static_cast<float>(age * 100 + static_cast<int>(v)) + 0.5f;
        }
        history.add(point);
    }
    StandPoint last = history.points().back();
    last.values[3] = std::bit_cast<float>(0x7FC01234u);
    history.assign({history.points().front(), last});
    return history;
}

// The yearly values come after every field of the layout, so the file up to them is the file of the same
// document without them: tag 0x31565947, the count, then each point's age and its 12 values.
TEST(DocumentFile, YearlyValuesFollowTheLayoutWithTheirOwnTagAndReadBack) {
    CGROVEXDoc doc = projectedDocument();
    const Bytes without = storeDocument(doc);
    doc.yearly = twoYears();
    const Bytes bytes = storeDocument(doc);
    ASSERT_EQ(bytes.size(), without.size() + 8 + 2 * 52);
    EXPECT_TRUE(std::equal(without.begin(), without.end(), bytes.begin()));
    const size_t at = without.size();
    EXPECT_EQ(int32At(bytes, at), 0x31565947);
    EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 4), "GYV1");
    EXPECT_EQ(int32At(bytes, at + 4), 2);
    EXPECT_EQ(int32At(bytes, at + 8), 10);
    EXPECT_EQ(realAt(bytes, at + 12), 1000.5f);
    EXPECT_EQ(realAt(bytes, at + 12 + 11 * 4), 1011.5f);
    EXPECT_EQ(int32At(bytes, at + 60), 11);
    EXPECT_EQ(int32At(bytes, at + 64 + 3 * 4), 0x7FC01234);

    CGROVEXDoc loaded;
    loaded.yearlyUnread = true;
    ASSERT_EQ(loadDocument(loaded, bytes), DocumentLoad::Ok);
    EXPECT_FALSE(loaded.yearlyUnread);
    EXPECT_EQ(storeDocument(loaded), bytes);
    EXPECT_EQ(loaded.model.tables.size(), doc.model.tables.size());

    // A file of the layout alone (an older version's) opens with no yearly values, whatever the document had.
    ASSERT_EQ(loadDocument(loaded, without), DocumentLoad::Ok);
    EXPECT_TRUE(loaded.yearly.empty());
    EXPECT_FALSE(loaded.yearlyUnread);
    EXPECT_EQ(yearlyUnreadMessage(loaded), "");
}

// A damaged yearly block (another tag, a count it cannot hold, cut short anywhere) still opens the tables,
// without yearly values, and says so.
TEST(DocumentFile, DamagedYearlyValuesOpenTheTablesAndSayTheChartDataWereNotRead) {
    CGROVEXDoc doc = projectedDocument();
    const size_t at = storeDocument(doc).size();
    doc.yearly = twoYears();
    const Bytes bytes = storeDocument(doc);
    std::vector<Bytes> damaged;
    for (size_t length = at + 1; length < bytes.size(); ++length) {
        damaged.emplace_back(bytes.begin(), bytes.begin() + static_cast<long>(length));
    }
    for (const auto& [offset, value] : {std::pair<size_t, int32_t>{0, 0x32565947}, {4, -1}, {4, 1001}, {4, 3}}) {
        Bytes patched = bytes;
        putInt32At(patched, at + offset, value);
        damaged.push_back(patched);
    }
    for (const Bytes& file : damaged) {
        CGROVEXDoc loaded;
        // A temporary state file must read back whole.
        ASSERT_EQ(loadDocument(loaded, file, YearlyValues::Required), DocumentLoad::UnexpectedFormat);
        loaded.yearly = twoYears();
        ASSERT_EQ(loadDocument(loaded, file), DocumentLoad::Ok) << file.size();
        EXPECT_TRUE(loaded.yearly.empty()) << file.size();
        ASSERT_TRUE(loaded.yearlyUnread) << file.size();
        EXPECT_EQ(loaded.model.tables.size(), doc.model.tables.size());
    }

    ScratchDirectory dir;
    const std::string path = (dir.path() / "damaged.gvx").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(at + 5));
    const OpenedDocument opened = openDocument(path);
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(yearlyUnreadMessage(*opened.document),
              "The chart data of damaged.gvx were not read: the yearly stand values in the file are damaged. The "
              "tables are shown, and the charts mark only their values.");
}

TEST(DocumentFile, SaveAndOpenCarryTheFileNameAndTheModifiedFlag) {
    ScratchDirectory dir;
    const std::string path = (dir.path() / "Tract 7.gvx").string();
    CGROVEXDoc doc = projectedDocument();
    doc.setTitle("GROVEX1");
    doc.setModified(true);
    ASSERT_TRUE(saveDocument(doc, path));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.path(), path);
    EXPECT_EQ(doc.title(), "Tract 7.gvx");

    const OpenedDocument opened = openDocument(path);
    ASSERT_TRUE(opened.ok()) << opened.error;
    EXPECT_EQ(opened.document->title(), "Tract 7.gvx");
    EXPECT_EQ(opened.document->path(), path);
    EXPECT_FALSE(opened.document->isModified());
    expectSameFileFields(doc, *opened.document);

    Bytes older = readFile(path, kDocumentFileCap).bytes;
    putInt32At(older, 0, 999999995);
    const std::string oldPath = (dir.path() / "old.gvx").string();
    std::ofstream(oldPath, std::ios::binary).write(reinterpret_cast<const char*>(older.data()), 40);
    const OpenedDocument refused = openDocument(oldPath);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.result, DocumentLoad::WrongVersion);
    EXPECT_EQ(refused.error, kWrongVersionMessage);

    const OpenedDocument missing = openDocument((dir.path() / "none.gvx").string());
    EXPECT_EQ(missing.result, DocumentLoad::Unreadable);
    EXPECT_EQ(missing.error, "Unable to open " + (dir.path() / "none.gvx").string() + ": No such file or directory.");
}

TEST(DocumentFile, ASaveThatFailsAfterAnyNumberOfBytesKeepsTheOldFile) {
    ScratchDirectory dir;
    const std::string path = (dir.path() / "stand.gvx").string();
    CGROVEXDoc old = noTablesDocument();
    ASSERT_TRUE(saveDocument(old, path));
    const Bytes oldBytes = readFile(path, kDocumentFileCap).bytes;

    CGROVEXDoc doc = projectedDocument();
    doc.setTitle("GROVEX2");
    const size_t size = storeDocument(doc).size();
    for (size_t budget : fakes::everyCutPoint(size)) {
        doc.setModified(true);
        fakes::FailingFileSystem failing;
        failing.byteBudget = budget;
        const IoStatus status = saveDocument(doc, path, failing);
        ASSERT_FALSE(status) << budget;
        ASSERT_EQ(status.message(), "Unable to save " + path + ": No space left on device.") << budget;
        ASSERT_TRUE(doc.isModified()) << budget;
        ASSERT_EQ(doc.title(), "GROVEX2") << budget;
        ASSERT_EQ(readFile(path, kDocumentFileCap).bytes, oldBytes) << budget;
        ASSERT_EQ(dir.entryCount(), 1u) << budget;
    }
    fakes::FailingFileSystem exact;
    exact.byteBudget = size;
    EXPECT_TRUE(saveDocument(doc, path, exact));
    EXPECT_EQ(readFile(path, kDocumentFileCap).bytes, storeDocument(doc));
}

} // namespace
} // namespace grovex
