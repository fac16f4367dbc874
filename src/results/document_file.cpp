#include "results/document_file.h"

#include "model/volumes.h"

#include "base/c_format.h"
#include "base/path_text.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

namespace grovex {
namespace {

// The parts of a document the file holds.
struct Fields {
    GrowthModel& model;
    RunState& run;
    DisplayState& display;
    PlantationPageMembers& plantation;
    VolumeUnitsPageMembers& volume;
};

// A text of the model up to its terminator, as the fixed text fields hold it.
std::string_view upToTerminator(const std::string& text) {
    return std::string_view(text.c_str(), std::strlen(text.c_str()));
}

class FieldWriter {
public:
    explicit FieldWriter(ArchiveWriter& out) : out_(out) {}

    void integer(int32_t& value) { out_.putInt32(value); }
    void real(float& value) { out_.putFloat32(value); }
    void flag(int32_t& value) { out_.putInt32(value != 0 ? 1 : 0); }
    void flag(bool& value) { out_.putInt32(value ? 1 : 0); }
    void count(int32_t& value, int32_t, int32_t) { out_.putInt32(value); }
    void text(std::string& value, size_t) { out_.putText(value); }
    void modelText(std::string& value, size_t) { out_.putText(upToTerminator(value)); }

    void tables(std::vector<ResultTable>& tables) {
        out_.putInt32(static_cast<int32_t>(tables.size()) - 1);
        for (ResultTable& table : tables) {
            out_.putText(table.summary);
            out_.putInt32(table.lastRow());
            for (int32_t value : {table.headingTop, table.summaryWidth, table.summaryBottom, table.tableTop,
                                  table.rowsTop, table.tableBottom, ResultTable::lastColumn}) {
                out_.putInt32(value);
            }
            for (const TableRow& row : table.rows) {
                for (float cell : row) {
                    out_.putFloat32(cell);
                }
            }
            for (const std::string& heading : table.headings) {
                out_.putText(heading);
            }
        }
    }

private:
    ArchiveWriter& out_;
};

// Reads into the fields; a short file or a value the document cannot hold stops every further read.
class FieldReader {
public:
    explicit FieldReader(std::span<const uint8_t> bytes) : in_(bytes) {}

    bool ok() const { return in_.ok() && !refused_; }

    void integer(int32_t& value) { read(value); }
    void real(float& value) {
        if (ok()) {
            in_.readFloat32(value);
        }
    }
    void flag(int32_t& value) {
        int32_t raw = 0;
        if (read(raw)) {
            value = raw != 0 ? 1 : 0;
        }
    }
    void flag(bool& value) {
        int32_t raw = 0;
        if (read(raw)) {
            value = raw != 0;
        }
    }
    void count(int32_t& value, int32_t lowest, int32_t highest) {
        int32_t raw = 0;
        if (read(raw) && within(raw, lowest, highest)) {
            value = raw;
        }
    }
    void text(std::string& value, size_t maxLength) {
        if (ok()) {
            in_.readText(value, maxLength);
        }
    }
    // The model's fixed text fields keep a text up to its first zero byte, as a copy into them does.
    void modelText(std::string& value, size_t maxLength) {
        std::string raw;
        if (ok() && in_.readText(raw, maxLength)) {
            value = std::string(upToTerminator(raw));
        }
    }

    void tables(std::vector<ResultTable>& tables) {
        int32_t lastTable = 0;
        if (!read(lastTable) || !within(lastTable, -1, kMaxTables - 1)) {
            return;
        }
        tables.resize(static_cast<size_t>(lastTable) + 1);
        for (ResultTable& table : tables) {
            if (!tableBlock(table)) {
                return;
            }
        }
    }

private:
    bool read(int32_t& value) { return ok() && in_.readInt32(value); }

    bool within(int32_t value, int32_t lowest, int32_t highest) {
        if (value < lowest || value > highest) {
            refused_ = true;
        }
        return !refused_;
    }

    bool tableBlock(ResultTable& table) {
        int32_t lastRow = 0;
        int32_t lastColumn = 0;
        text(table.summary, kMaxSummaryLength);
        if (!read(lastRow) || !within(lastRow, -1, kMaxRows - 1)) {
            return false;
        }
        for (int32_t* value : {&table.headingTop, &table.summaryWidth, &table.summaryBottom, &table.tableTop,
                               &table.rowsTop, &table.tableBottom}) {
            integer(*value);
        }
        if (!read(lastColumn) || !within(lastColumn, ResultTable::lastColumn, ResultTable::lastColumn)) {
            return false;
        }
        table.rows.assign(static_cast<size_t>(lastRow) + 1, TableRow{});
        for (TableRow& row : table.rows) {
            for (float& cell : row) {
                real(cell);
            }
        }
        for (std::string& heading : table.headings) {
            text(heading, kMaxHeadingLength);
        }
        return ok();
    }

    ArchiveReader in_;
    bool refused_ = false;

public:
    size_t position() const { return in_.position(); }
};

// Rows 2 to 33 of the file in their order; the same list serves the writer and the reader.
template <class Io> void transferFields(Io& io, Fields d) {
    GrowthModel& m = d.model;
    io.flag(d.run.needsInit);
    io.integer(d.run.maxAge);
    io.flag(d.run.targetReached);
    io.integer(d.display.firstShown);
    io.integer(d.display.stepFirst);
    io.tables(m.tables);

    for (int i = 1; i <= kMaxRecords; ++i) {
        for (SlotArray* slots : {&m.dbh, &m.freq, &m.thinFreq, &m.ht, &m.crownRatio, &m.crownLength}) {
            io.real((*slots)[static_cast<size_t>(i)]);
        }
    }
    io.real(m.dmax);
    io.flag(m.qhdwd);
    for (int copy = 0; copy < 2; ++copy) { // the five flags are written twice
        io.flag(m.qexist);
        io.flag(m.qlist);
        io.integer(m.reservedA);
        io.flag(m.qdrain);
        io.flag(m.qtba);
    }
    io.integer(m.reservedB);
    for (int copy = 0; copy < 2; ++copy) { // and these three as well
        io.flag(m.qthin);
        io.flag(m.qfert);
        io.flag(m.qphos);
    }
    io.integer(m.ithin);
    io.integer(m.ilow);
    for (float* value : {&m.dhigh, &m.tlim, &m.rcut, &m.dlow}) {
        io.real(*value);
    }
    io.integer(m.age);
    io.integer(m.kt);
    io.real(m.thinRatio);
    io.integer(m.kfert);
    io.real(m.exage);
    io.integer(m.nyears);
    io.integer(m.pcrit);
    for (float* value : {&m.target, &m.site, &m.plotArea, &m.tba, &m.hd, &m.dq, &m.cords, &m.crMean, &m.rs, &m.hMean,
                         &m.ts, &m.tp, &m.ps, &m.hdwdpercnt}) {
        io.real(*value);
    }
    io.integer(m.lbn);
    io.modelText(m.title, kMaxTitleLength);
    io.modelText(m.volnam[0], kMaxVolumeNameLength);
    io.modelText(m.spareName, kMaxVolumeNameLength);
    for (size_t k = 0; k < 3; ++k) {
        io.real(m.vola[k]);
        io.real(m.volb[k]);
        io.integer(m.voldbh[k]);
    }
    io.real(m.voltop);
    io.integer(m.vtype);
    io.integer(m.voltyp);
    io.count(m.nrec, 0, kMaxRecords);
    for (float* value : {&m.weibull.a, &m.weibull.b, &m.weibull.c, &m.weibull.mean, &m.weibull.Q}) {
        io.real(*value);
    }
    io.real(d.run.bab);
    io.real(d.run.baa);

    VolumeUnitsPageMembers& v = d.volume;
    for (int32_t* value : {&v.boardFootRule, &v.barkType, &v.vtype, &v.minDbhClass}) {
        io.integer(*value);
    }
    io.real(v.voltop);
    for (float& a : v.a) {
        io.real(a);
    }
    for (float& b : v.b) {
        io.real(b);
    }
    for (int32_t& minDbh : v.equationMinDbh) {
        io.integer(minDbh);
    }
    for (std::string& name : v.names) {
        io.text(name, kMaxPageNameLength);
    }

    PlantationPageMembers& p = d.plantation;
    io.integer(p.pcrit);
    io.real(p.target);
    io.real(p.hdwdpercnt);
    io.real(p.tba);
    io.integer(p.nyears);
    io.real(p.site);
    io.real(p.ts);
    io.integer(p.exage);
    io.real(p.tp);
    io.real(p.ps);
    io.text(p.title, kMaxTitleLength);
    io.flag(p.qdrain);
    io.flag(p.qlist);
    io.flag(p.qexist);
}

constexpr std::string_view kThinnedLabel = "Thinned Trees";
constexpr std::string_view kAgeLabel = "Growing Seasons Completed =";

// The stand age a live-tree summary reports, when it reports one.
std::optional<int32_t> summaryAge(const std::string& summary) {
    const size_t at = summary.find(kAgeLabel);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const double age = cAtof(std::string_view(summary).substr(at + kAgeLabel.size()));
    if (!(age > INT_MIN && age < INT_MAX)) {
        return std::nullopt;
    }
    return static_cast<int32_t>(age);
}

void storeYearly(const StandHistory& history, ArchiveWriter& out) {
    if (history.empty()) {
        return;
    }
    out.putInt32(kYearlyValuesTag);
    out.putInt32(static_cast<int32_t>(history.points().size()));
    for (const StandPoint& point : history.points()) {
        out.putInt32(point.age);
        for (float value : point.values) {
            out.putFloat32(value);
        }
    }
}

// The yearly values after the layout; nothing when the block is absent or cannot be read.
std::optional<std::vector<StandPoint>> loadYearly(std::span<const uint8_t> bytes) {
    ArchiveReader in(bytes);
    int32_t tag = 0;
    int32_t count = 0;
    if (!in.readInt32(tag) || tag != kYearlyValuesTag || !in.readInt32(count) || count < 0 ||
        static_cast<size_t>(count) > StandHistory::kMaxPoints || in.remaining() < count * kYearlyPointSize) {
        return std::nullopt;
    }
    std::vector<StandPoint> points(static_cast<size_t>(count));
    for (StandPoint& point : points) {
        in.readInt32(point.age);
        for (float& value : point.values) {
            in.readFloat32(value);
        }
    }
    return points;
}

} // namespace

std::string loadMessage(DocumentLoad result) {
    switch (result) {
    case DocumentLoad::WrongVersion:
        return kWrongVersionMessage;
    case DocumentLoad::UnexpectedFormat:
        return kUnexpectedFormatMessage;
    case DocumentLoad::Ok:
    case DocumentLoad::Unreadable:
        break;
    }
    return {};
}

void rebuildTableKinds(GrowthModel& model) {
    int32_t nextLiveAge = model.age;
    for (auto table = model.tables.rbegin(); table != model.tables.rend(); ++table) {
        if (table->summary.find(kThinnedLabel) != std::string::npos) {
            table->kind = kThinnedTreeTable;
            table->age = nextLiveAge;
        } else {
            table->kind = kLiveTreeTable;
            table->age = summaryAge(table->summary).value_or(nextLiveAge);
            nextLiveAge = table->age;
        }
    }
    // A stand low-thinned in its run has its tables from the first thinning on made with the thinned-stand
    // volume coefficients. The file keeps only the latest thinning, so an earlier row thinning counts too.
    bool thinned = false;
    for (ResultTable& table : model.tables) {
        thinned = thinned || (UsesThinnedCoefficients(model.qthin, model.ithin) && table.kind == kThinnedTreeTable);
        table.thinnedVolumes = thinned;
    }
}

void storeDocument(CGROVEXDoc& doc, ArchiveWriter& out) {
    doc.setModified(false);
    out.putInt32(kDocumentFileVersion);
    FieldWriter writer(out);
    transferFields(writer, Fields{doc.model, doc.run, doc.display, doc.plantationPage, doc.volumeUnitsPage});
    storeYearly(doc.yearly, out);
}

std::vector<uint8_t> storeDocument(CGROVEXDoc& doc) {
    ArchiveWriter out;
    storeDocument(doc, out);
    return out.take();
}

DocumentLoad loadDocument(CGROVEXDoc& doc, std::span<const uint8_t> bytes, YearlyValues yearlyValues) {
    ArchiveReader header(bytes);
    int32_t version = 0;
    if (!header.readInt32(version)) {
        return DocumentLoad::UnexpectedFormat;
    }
    if (version != kDocumentFileVersion) {
        return DocumentLoad::WrongVersion;
    }

    // Fields the file does not hold keep their values from the document.
    GrowthModel model = doc.model;
    RunState run = doc.run;
    DisplayState display = doc.display;
    PlantationPageMembers plantation = doc.plantationPage;
    VolumeUnitsPageMembers volume = doc.volumeUnitsPage;
    FieldReader reader(bytes.subspan(header.position()));
    transferFields(reader, Fields{model, run, display, plantation, volume});
    if (!reader.ok()) {
        return DocumentLoad::UnexpectedFormat;
    }
    const std::span<const uint8_t> rest = bytes.subspan(header.position() + reader.position());
    const std::optional<std::vector<StandPoint>> yearly = rest.empty() ? std::vector<StandPoint>{} : loadYearly(rest);
    if (!yearly && yearlyValues == YearlyValues::Required) {
        return DocumentLoad::UnexpectedFormat;
    }

    // The names of equations 2 and 3 are not in the file.
    model.volnam[1] = "-blank-";
    model.volnam[2] = "-blank-";
    rebuildTableKinds(model);

    doc.model = std::move(model);
    doc.run = run;
    doc.display = std::move(display);
    doc.plantationPage = std::move(plantation);
    doc.volumeUnitsPage = std::move(volume);
    doc.yearly.assign(yearly.value_or(std::vector<StandPoint>{}));
    doc.yearlyUnread = !yearly.has_value();
    return DocumentLoad::Ok;
}

std::string yearlyUnreadMessage(const CGROVEXDoc& doc) {
    if (!doc.yearlyUnread) {
        return {};
    }
    return "The chart data of " + doc.title() +
           " were not read: the yearly stand values in the file are damaged. The tables are shown, and the "
           "charts mark only their values.";
}

IoStatus saveDocument(CGROVEXDoc& doc, const std::string& path, FileSystem& fileSystem) {
    const bool wasModified = doc.isModified();
    const std::vector<uint8_t> bytes = storeDocument(doc);
    IoStatus status = writeFileAtomically(path, bytes, fileSystem);
    if (!status) {
        doc.setModified(wasModified);
        return status;
    }
    doc.setPath(path);
    doc.setTitle(textOf(pathOf(path).filename()));
    doc.setModified(false);
    return status;
}

OpenedDocument openDocument(const std::string& path) {
    OpenedDocument opened;
    const FileContent content = readFile(path, kDocumentFileCap);
    if (!content.ok()) {
        opened.result = DocumentLoad::Unreadable;
        opened.error = content.error;
        return opened;
    }
    auto doc = std::make_unique<CGROVEXDoc>();
    opened.result = loadDocument(*doc, content.bytes);
    if (opened.result != DocumentLoad::Ok) {
        opened.error = loadMessage(opened.result);
        return opened;
    }
    doc->setPath(path);
    doc->setTitle(textOf(pathOf(path).filename()));
    doc->setModified(false);
    opened.document = std::move(doc);
    return opened;
}

} // namespace grovex
