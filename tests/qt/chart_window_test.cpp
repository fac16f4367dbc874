// The Charts pane as a user meets it: it follows every projection command, a rolled-back command and Reset;
// compares simulation windows; copies and exports its image; and File > Export Tables writes the command
// line's bytes. Exports that cannot be written say why and leave nothing behind.

#include "app/commands.h"
#include "app_sandbox.h"
#include "qt/application.h"
#include "qt/chart_dock.h"
#include "qt/command_actions.h"
#include "qt/main_window.h"
#include "qt/simulation_window.h"
#include "results/document_file.h"
#include "results/table_export.h"
#include "scripted_window.h"
#include "support/scripted_inputs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTest>

#include <deque>
#include <fstream>
#include <sys/stat.h>

using namespace grovex;

namespace {

Input1 standInput(int nyears, float ageTarget) {
    Input1 input;
    input.title = "Charted stand";
    input.nyears = nyears;
    input.pcrit = kCriterionAge;
    input.target = ageTarget;
    return input;
}

Input2Values rowThinning(float ageTarget) {
    Input2Values thin;
    thin.qthin = true;
    thin.ithin = 1;
    thin.rcut = 4;
    thin.pcrit = kCriterionAge;
    thin.target = ageTarget;
    return thin;
}

std::vector<charts::ChartPoint> basalAreaLine(ChartDock& dock, size_t simulation = 0) {
    const auto& simulations = dock.chartWidget().chart().simulations();
    if (simulation >= simulations.size()) {
        return {};
    }
    return simulations[simulation].lines[index(StandValue::BasalArea)];
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(sandbox_.enter()); }
    void cleanup() { sandbox_.leave(); }

    void chartFollowsCommandsRollbackAndReset();
    void windowsAreComparedInOneChart();
    void exportsWriteTheFilesAndRefusalsSayWhy();
    void aDamagedYearlyBlockOpensTheTablesAndSaysSo();

private:
    fakes::AppSandbox sandbox_{fakes::AppDirectory::Sandbox};
};

void ChartWindowTest::chartFollowsCommandsRollbackAndReset() {
    auto app = sandbox_.start();
    QVERIFY(app);
    MainWindow& main = app->mainWindow();
    ChartDock& dock = main.chartDock();
    QVERIFY(dock.isHidden());
    trigger(*app, cmd::kViewCharts);
    QVERIFY(!dock.isHidden());
    QVERIFY(main.commands().action(cmd::kViewCharts)->isChecked());
    QVERIFY(!dock.chartWidget().chart().hasData());

    ScriptedInputs& inputs = scriptActiveWindow(*app);
    inputs.input1s.push_back(standInput(30, 20));
    trigger(*app, cmd::kInitializeAndProject);
    std::vector<charts::ChartPoint> line = basalAreaLine(dock);
    QCOMPARE(line.size(), size_t{13}); // a planted stand's run starts at age 8: ages 8 to 20
    QCOMPARE(line.back().x, 20.0);
    QVERIFY(dock.chartWidget().chart().hasData());

    // A row thinning in the season after 20, then growth to 25: the line drops at 21.
    inputs.input2s.push_back(rowThinning(25));
    trigger(*app, cmd::kMidrotationAndProject);
    line = basalAreaLine(dock);
    QCOMPARE(line.back().x, 25.0);
    const auto drop = std::adjacent_find(line.begin(), line.end(),
                                         [](const auto& a, const auto& b) { return a.x == b.x && b.y < a.y; });
    QVERIFY(drop != line.end());
    QCOMPARE(drop->x, 21.0);
    const std::vector<charts::ChartPoint> thinned = line;
    const QString snapshots = qEnvironmentVariable("GROVEX_SNAPSHOT_DIR");
    if (!snapshots.isEmpty()) {
        main.setGeometry(0, 0, 1500, 900);
        QCoreApplication::processEvents();
        QVERIFY(main.grab().save(snapshots + QStringLiteral("/charts_pane.png")));
        QVERIFY(chartImage(dock.chartWidget().chart(), {1000, 700}).save(snapshots + QStringLiteral("/chart.png")));
    }

    // A cancelled treatment rolls the document back: the chart shows the run as it was.
    trigger(*app, cmd::kMidrotationAndProject);
    line = basalAreaLine(dock);
    QCOMPARE(line.size(), thinned.size());
    QVERIFY(std::equal(line.begin(), line.end(), thinned.begin(),
                       [](const auto& a, const auto& b) { return a.x == b.x && a.y == b.y; }));
    // So does one past the run's last age: the stand grown to 31 is not kept.
    inputs.input2s.push_back(rowThinning(30));
    trigger(*app, cmd::kMidrotationAndProject);
    QCOMPARE(basalAreaLine(dock).back().x, 30.0);
    sandbox_.ui().clear();
    trigger(*app, cmd::kProjectToNextTarget);
    QCOMPARE(sandbox_.ui().texts(), std::vector<std::string>{"The age has reached its maximum value."});
    QCOMPARE(basalAreaLine(dock).back().x, 30.0);

    sandbox_.ui().queueAnswer(Answer::No);
    trigger(*app, cmd::kResetKey);
    QVERIFY(basalAreaLine(dock).empty());
    QVERIFY(!dock.chartWidget().chart().hasData());
}

void ChartWindowTest::windowsAreComparedInOneChart() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    scriptActiveWindow(*app).input1s.push_back(standInput(40, 25));
    trigger(*app, cmd::kInitializeAndProject);
    const CGROVEXDoc* first = &main.activeSimulation()->document();
    trigger(*app, cmd::kFileNew);
    scriptActiveWindow(*app).input1s.push_back(standInput(40, 15));
    trigger(*app, cmd::kInitializeAndProject);
    trigger(*app, cmd::kViewCharts);

    ChartDock& dock = main.chartDock();
    QCOMPARE(dock.chartWidget().chart().simulations().size(), size_t{1});
    dock.setCompared(first, true);
    const auto& simulations = dock.chartWidget().chart().simulations();
    QCOMPARE(simulations.size(), size_t{2});
    QCOMPARE(simulations[0].name, std::string("GROVEX2"));
    QCOMPARE(simulations[1].name, std::string("GROVEX1"));
    QCOMPARE(basalAreaLine(dock, 1).back().x, 25.0);
    QCOMPARE(basalAreaLine(dock, 0).back().x, 15.0);
    dock.setValueShown(StandValue::Volume1, true);
    QCOMPARE(dock.chartWidget().chart().values().size(), size_t{5});
}

void ChartWindowTest::exportsWriteTheFilesAndRefusalsSayWhy() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    scriptActiveWindow(*app).input1s.push_back(standInput(40, 20));
    trigger(*app, cmd::kInitializeAndProject);
    const CGROVEXDoc& doc = main.activeSimulation()->document();
    fakes::RecordingUi& ui = sandbox_.ui();

    // The tables, in the format the name asks for, with the bytes the command line writes.
    for (const auto& [name, format] :
         {std::pair{"tables.csv", TableExportFormat::Csv}, std::pair{"tables.JSON", TableExportFormat::Json}}) {
        const QString path = sandbox_.filePath(QString::fromLatin1(name));
        ui.queueFileName(path.toStdString());
        trigger(*app, cmd::kFileExportTables);
        QCOMPARE(fileBytes(path).toStdString(), exportTables(doc.model, doc.run.targetReached, format));
    }
    QVERIFY(fileBytes(sandbox_.filePath(QStringLiteral("tables.csv")))
                .startsWith("table,kind,age,dbhClass,trees,avgHeight,basalArea,vol1,vol2,vol3\n"));

    // The chart as a picture, a drawing and a document.
    for (const auto& [name, start] :
         {std::pair{"chart.png", QByteArray("\x89PNG")}, std::pair{"chart.svg", QByteArray("<?xml")},
          std::pair{"chart.pdf", QByteArray("%PDF")}}) {
        const QString path = sandbox_.filePath(QString::fromLatin1(name));
        ui.queueFileName(path.toStdString());
        trigger(*app, cmd::kFileExportChart);
        QVERIFY2(fileBytes(path).startsWith(start), name);
    }
    QVERIFY(fileBytes(sandbox_.filePath(QStringLiteral("chart.svg"))).contains("<svg"));
    QVERIFY(ui.texts().empty());

    // Printed, the chart fills one page with the picture the export draws.
    QPrinter printer(QPrinter::HighResolution);
    const QString printed = sandbox_.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    printChartPage(main.chartDock().chartWidget().chart(), printer);
    QVERIFY(fileBytes(printed).startsWith("%PDF"));
    QVERIFY(fileBytes(printed).contains("/Type /Page"));

    // A folder that does not exist, and a read-only file: one message naming the file, the file as it was.
    const std::string missing = sandbox_.filePath(QStringLiteral("no such folder/chart.png")).toStdString();
    ui.queueFileName(missing);
    trigger(*app, cmd::kFileExportChart);
    QCOMPARE(ui.texts(), std::vector<std::string>{"Unable to save " + missing + ": No such file or directory."});
    const QString locked = sandbox_.filePath(QStringLiteral("locked.json"));
    std::ofstream(locked.toStdString()) << "old";
    ::chmod(locked.toLocal8Bit().constData(), 0444);
    ui.clear();
    ui.queueFileName(locked.toStdString());
    trigger(*app, cmd::kFileExportTables);
    QCOMPARE(ui.texts(), std::vector<std::string>{"Unable to save " + locked.toStdString() + ": Permission denied."});
    QCOMPARE(fileBytes(locked), QByteArray("old"));
    QCOMPARE(QDir(sandbox_.filePath({})).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("tmp")).size(), 0);

    // Copy puts the chart's image on the clipboard.
    trigger(*app, cmd::kViewCharts);
    main.chartDock().chartWidget().copyToClipboard();
    QVERIFY(!QApplication::clipboard()->image().isNull());
}

void ChartWindowTest::aDamagedYearlyBlockOpensTheTablesAndSaysSo() {
    auto app = sandbox_.start();
    MainWindow& main = app->mainWindow();
    scriptActiveWindow(*app).input1s.push_back(standInput(40, 20));
    trigger(*app, cmd::kInitializeAndProject);
    CGROVEXDoc& doc = main.activeSimulation()->document();
    std::vector<uint8_t> bytes = storeDocument(doc);
    bytes.resize(bytes.size() - 10); // the last yearly point cut short
    const QString path = sandbox_.filePath(QStringLiteral("damaged.gvx"));
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    sandbox_.ui().clear();
    SimulationWindow* opened = app->openDocumentFile(path);
    QVERIFY(opened != nullptr);
    QCOMPARE(opened->document().model.tables.size(), doc.model.tables.size());
    QCOMPARE(sandbox_.ui().texts().size(), size_t{1});
    QVERIFY(QString::fromStdString(sandbox_.ui().texts()[0])
                .startsWith(QStringLiteral("The chart data of damaged.gvx were not read")));
    trigger(*app, cmd::kViewCharts);
    const charts::StandChart& chart = main.chartDock().chartWidget().chart();
    QVERIFY(chart.hasData()); // the table's values
    QVERIFY(basalAreaLine(main.chartDock()).empty());
    QCOMPARE(chart.simulations()[0].marks[index(StandValue::BasalArea)].size(), size_t{1});
}

QTEST_MAIN(ChartWindowTest)
#include "chart_window_test.moc"
