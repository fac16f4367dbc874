// The Stand Value window as a user reaches it: from the View menu's command, with the prices file chosen in
// the file dialog, following the commands on its simulation, and printing, copying and closing with it.

#include "app/commands.h"
#include "app_sandbox.h"
#include "qt/command_actions.h"
#include "qt/platform/qt_text.h"
#include "qt/print_support.h"
#include "qt/simulation_window.h"
#include "qt/stand_value_window.h"
#include "scripted_window.h"
#include "support/cli_run.h"
#include "support/scripted_inputs.h"
#include "support/test_paths.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <deque>
#include <memory>

using namespace grovex;

namespace {

const std::string kPricesFile = testData("stand_value_prices.json");

Input1 standInput(float ageTarget) {
    Input1 input;
    input.title = "Upland plantation";
    input.target = ageTarget;
    return input;
}

Input2Values rowThinning(float ageTarget) {
    Input2Values thin;
    thin.qthin = true;
    thin.ithin = 1;
    thin.rcut = 4;
    thin.target = ageTarget;
    return thin;
}

// The measure's line of the shown text: "  Net present value (NPV)        -20.77".
QString measureLine(const QString& text, const QString& measure) {
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(measure)) {
            return line;
        }
    }
    return {};
}

// With GROVEX_SNAPSHOT_DIR set, the window is kept as a picture there.
void keepSnapshot(QWidget& window, const QString& name) {
    const QString dir = qEnvironmentVariable("GROVEX_SNAPSHOT_DIR");
    if (!dir.isEmpty()) {
        QCoreApplication::processEvents();
        QVERIFY(window.grab().save(dir + QLatin1Char('/') + name));
    }
}

} // namespace

class StandValueWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(sandbox_.enter()); }
    void cleanup() { sandbox_.leave(); }

    void showsTheValuationOfTheRunAndFollowsIt();
    void aDamagedPricesFileSaysSoAndTheApplicationGoesOn();

private:
    fakes::AppSandbox sandbox_{fakes::AppDirectory::Sandbox};
};

void StandValueWindowTest::showsTheValuationOfTheRunAndFollowsIt() {
    auto app = sandbox_.start();
    QVERIFY(app);
    SimulationWindow* simulation = app->mainWindow().activeSimulation();
    ScriptedInputs& inputs = scriptActiveWindow(*app);
    inputs.input1s.push_back(standInput(20));
    trigger(*app, cmd::kInitializeAndProject);
    QCOMPARE(simulation->document().model.age, 20);

    // The first time, the file dialog asks for the prices file.
    QVERIFY(app->mainWindow().commands().action(cmd::kStandValue)->isEnabled());
    sandbox_.ui().queueFileName(kPricesFile);
    trigger(*app, cmd::kStandValue);
    StandValueWindow* window = app->mainWindow().standValueWindow(simulation->document());
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Stand Value - GROVEX1"));
    QCOMPARE(sandbox_.ui().fileDialogs().size(), size_t{1});
    QVERIFY(sandbox_.ui().messages().empty());

    // The same valuation as the command line's for the same stand: the cash flows, the NPV, the best age.
    const CliRun cli = runCli("value --prices '" + kPricesFile + "' --target-age 20");
    QCOMPARE(cli.exitCode, 0);
    const QString shown = window->textView().toPlainText();
    QCOMPARE(shown, QStringLiteral("GROVEX1: Upland plantation\nPrices from %1\n\n").arg(toQString(kPricesFile)) +
                        toQString(cli.out));
    QVERIFY(!measureLine(shown, QStringLiteral("Net present value (NPV)")).isEmpty());
    keepSnapshot(*window, QStringLiteral("stand_value.png"));
    keepSnapshot(app->mainWindow(), QStringLiteral("stand_value_main.png"));

    // Copy puts the whole text on the clipboard; a printed page holds it.
    window->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), toQString(window->model().text()));
    StandValuePrintable printable(window->model());
    const RenderedPage page = renderPrintPage(printable, 1, QSize(780, 1000), 96);
    QCOMPARE(page.pageCount, 1);
    QVERIFY(!page.image.isNull());
    if (const QString dir = qEnvironmentVariable("GROVEX_SNAPSHOT_DIR"); !dir.isEmpty()) {
        QVERIFY(page.image.save(dir + QStringLiteral("/stand_value_page.png")));
    }

    // A thinning to age 25: the window follows with the thinning's flows and the new harvest age.
    inputs.input2s.push_back(rowThinning(25));
    trigger(*app, cmd::kMidrotationAndProject);
    const QString thinned = window->textView().toPlainText();
    QVERIFY(thinned.contains(QStringLiteral("thinning cost")));
    QCOMPARE(
        measureLine(thinned, QStringLiteral("Final harvest age")).split(QLatin1Char(' '), Qt::SkipEmptyParts).last(),
        QStringLiteral("25"));

    // A cancelled treatment rolls back: the text stays. Opening the window again brings the same one forward.
    trigger(*app, cmd::kMidrotationAndProject);
    QCOMPARE(window->textView().toPlainText(), thinned);
    trigger(*app, cmd::kStandValue);
    QCOMPARE(app->mainWindow().standValueWindow(simulation->document()), window);
    QCOMPARE(sandbox_.ui().fileDialogs().size(), size_t{1});

    // Reset empties it.
    sandbox_.ui().queueAnswer(Answer::No);
    trigger(*app, cmd::kResetKey);
    const QString reset = window->textView().toPlainText();
    QVERIFY(reset.contains(QString::fromLatin1(kNoRunText)));
    QVERIFY(measureLine(reset, QStringLiteral("Net present value (NPV)")).isEmpty());

    // Closing the simulation closes its Stand Value window.
    QPointer<StandValueWindow> watched(window);
    sandbox_.ui().queueAnswer(Answer::No);
    simulation->close();
    QTRY_VERIFY(watched.isNull());
}

void StandValueWindowTest::aDamagedPricesFileSaysSoAndTheApplicationGoesOn() {
    auto app = sandbox_.start();
    QVERIFY(app);
    const QString damaged = sandbox_.filePath(QStringLiteral("prices.json"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"discount_rate": 0.05, "currency": "USD", "products": [], "cost": {}})");
    file.close();
    app->settings().writeString(kStandValueSection, kPricesFileKey, toStdString(damaged));

    SimulationWindow* simulation = app->mainWindow().activeSimulation();
    trigger(*app, cmd::kStandValue);
    QCOMPARE(sandbox_.ui().texts(),
             std::vector<std::string>{toStdString(damaged) +
                                      ": cost: not a key of this file (the keys here are discount_rate, currency, "
                                      "tons_per_cubic_foot, products, costs)\n\nNo prices are chosen."});
    QVERIFY(sandbox_.ui().fileDialogs().empty());
    StandValueWindow* window = app->mainWindow().standValueWindow(simulation->document());
    QVERIFY(window != nullptr);
    QVERIFY(window->textView().toPlainText().contains(QString::fromLatin1(kNoPricesText)));

    // Another file chosen in the window values the run.
    sandbox_.ui().queueFileName(kPricesFile);
    window->choosePrices();
    QVERIFY(window->textView().toPlainText().contains(QStringLiteral("Prices from ")));
    QCOMPARE(app->settings().readString(kStandValueSection, kPricesFileKey), kPricesFile);
}

QTEST_MAIN(StandValueWindowTest)
#include "stand_value_window_test.moc"
