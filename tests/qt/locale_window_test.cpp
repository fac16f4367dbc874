// The desktop application run by a user whose locale writes numbers with a decimal comma (the test runs
// under LC_ALL=de_DE.UTF-8): it reads "87.5" from its boxes and saves, copies and pastes exactly what it does
// under the "C" locale.

#include "app/commands.h"
#include "app_sandbox.h"
#include "dialogs/general_info_dlg.h"
#include "dialogs/out_units_dlg.h"
#include "locale/locale_switch.h"
#include "modal_dialogs.h"
#include "qt/application.h"
#include "qt/command_actions.h"
#include "qt/initialize_stand_sheet.h"
#include "qt/main_window.h"
#include "qt/platform/qt_clipboard.h"
#include "qt/simulation_window.h"
#include "qt/tree_list_dialogs_qt.h"
#include "qt/tree_list_widget.h"
#include "qt/tree_list_window.h"
#include "results/document_file.h"
#include "results/table_text.h"
#include "support/recording_ui.h"
#include "support/test_paths.h"
#include "treelist/tree_list_clipboard.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <functional>
#include <memory>

using namespace grovex;

namespace {

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// grovex-cli's stdout under the "C" locale.
QByteArray runCliInC(const QStringList& arguments) {
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    cli.setProcessEnvironment(environment);
    cli.start(QString::fromStdString(cliPath()), arguments);
    if (!cli.waitForFinished(30000) || cli.exitCode() != 0) {
        qWarning() << "grovex-cli failed:" << cli.readAllStandardError();
        return {};
    }
    return cli.readAllStandardOutput();
}

void typeInto(QWidget* control, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(control);
    QVERIFY(box != nullptr);
    box->selectAll();
    QTest::keyClicks(box, text);
}

QPoint cellCentre(int row, int column) {
    return {treegrid::kCellWidth * column + treegrid::kCellWidth / 2,
            treegrid::kCellHeight * row + treegrid::kCellHeight / 2};
}

} // namespace

class LocaleWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void projectedDocumentSavesAndCopiesAsUnderC();
    void treeListSavesAndCopiesAsUnderC();
    void treeListStateEditsAndCopiesAsUnderC();

private:
    fakes::AppSandbox sandbox_{fakes::AppDirectory::Sandbox, QRect(0, 0, 1000, 700)};
    std::unique_ptr<Application> app_;
};

void LocaleWindowTest::initTestCase() {
    // QApplication has taken the locale from the environment; Qt's own default follows it.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (std::string(std::localeconv()->decimal_point) != ",") {
        QSKIP("the C library does not write a decimal comma here: run under LC_ALL=de_DE.UTF-8 with that locale "
              "installed (scripts/ensure-test-locale.sh generates it as root)");
    }
}

void LocaleWindowTest::init() {
    QVERIFY(sandbox_.enter());
}

void LocaleWindowTest::cleanup() {
    app_.reset();
    sandbox_.leave();
}

void LocaleWindowTest::projectedDocumentSavesAndCopiesAsUnderC() {
    app_ = sandbox_.start();
    QVERIFY(app_);
    MainWindow& main = app_->mainWindow();
    SimulationWindow* window = main.activeSimulation();
    QVERIFY(window != nullptr);
    CGROVEXDoc& doc = window->document();

    bool accepted = false;
    QTimer::singleShot(0, [&accepted] {
        auto* sheet = qobject_cast<InitializeStandSheet*>(QApplication::activeModalWidget());
        QVERIFY(sheet != nullptr);
        typeInto(sheet->control(plantation::kTitle), QStringLiteral("Tract 7"));
        typeInto(sheet->control(plantation::kRotation), QStringLiteral("40"));
        typeInto(sheet->control(plantation::kPercentSurvival), QStringLiteral("87.5"));
        typeInto(sheet->control(plantation::kHardwood), QStringLiteral("12.5"));
        typeInto(sheet->control(plantation::kFirstTarget), QStringLiteral("30"));
        sheet->tabs()->setCurrentIndex(1);
        qobject_cast<QAbstractButton*>(sheet->control(volumeunits::kCubicFeetButton))->click();
        qobject_cast<QAbstractButton*>(sheet->control(volumeunits::kOutsideBarkButton))->click();
        typeInto(sheet->control(volumeunits::kMinDbhClass), QStringLiteral("7"));
        typeInto(sheet->control(volumeunits::kTopDiameter), QStringLiteral("5.5"));
        sheet->findChild<QPushButton*>(controlName(1))->click();
        accepted = !sheet->isVisible();
        if (!accepted) {
            sheet->reject();
        }
    });
    main.commands().action(cmd::kInitializeAndProject)->trigger();
    QVERIFY2(accepted, sandbox_.ui().texts().empty() ? "refused" : sandbox_.ui().texts().back().c_str());
    QCOMPARE(doc.plantationPage.ps, 87.5f);
    QCOMPARE(doc.plantationPage.hdwdpercnt, 12.5f);
    QCOMPARE(doc.volumeUnitsPage.voltop, 5.5f);
    QVERIFY(doc.model.lastTable() >= 0);

    const QStringList sameRun{
        QStringLiteral("project"),      QStringLiteral("--title"),    QStringLiteral("Tract 7"),
        QStringLiteral("--rotation"),   QStringLiteral("40"),         QStringLiteral("--survival"),
        QStringLiteral("87.5"),         QStringLiteral("--hardwood"), QStringLiteral("12.5"),
        QStringLiteral("--target-age"), QStringLiteral("30"),         QStringLiteral("--top"),
        QStringLiteral("5.5")};
    const QByteArray expectedText =
        runCliInC(sameRun + QStringList{QStringLiteral("--format"), QStringLiteral("text")});
    QVERIFY(expectedText.contains("Site Index =   60.00"));
    QApplication::clipboard()->clear();
    main.commands().action(cmd::kEditSelectAll)->trigger();
    main.commands().action(cmd::kEditCopy)->trigger();
    QCOMPARE(QApplication::clipboard()->text().toUtf8(), expectedText);

    const QString path = sandbox_.filePath(QStringLiteral("tract7.gvx"));
    sandbox_.ui().queueFileName(path.toStdString());
    main.commands().action(cmd::kFileSaveAs)->trigger();
    const QByteArray saved = fileBytes(path);
    QVERIFY(!saved.isEmpty());
    std::vector<uint8_t> inC;
    {
        const ProcessLocale c("C");
        inC = storeDocument(doc);
    }
    QCOMPARE(saved, QByteArray(reinterpret_cast<const char*>(inC.data()), static_cast<qsizetype>(inC.size())));

    // The file reads back under this locale as the same simulation.
    const OpenedDocument reopened = openDocument(path.toStdString());
    QVERIFY(reopened.ok());
    QCOMPARE(reopened.document->plantationPage.ps, 87.5f);
    QCOMPARE(bytesOf(allTablesText(reopened.document->model.tables, 0, reopened.document->model.lastTable())),
             expectedText);
}

void LocaleWindowTest::treeListSavesAndCopiesAsUnderC() {
    const QString path = sandbox_.filePath(QStringLiteral("plot.dat"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1Tr 7  0.25 22 -1  -1 0  0 -1.0 -1.0 0 9.5\n"
                   "2  101  9.4 58.21\n"
                   "2  102 11.0 61.52\n");
    }
    app_ = sandbox_.start();
    QVERIFY(app_);
    MainWindow& main = app_->mainWindow();
    main.executeCommand(cmd::kShowHideTreeList);
    TreeListWindow* window = app_->treeListWindow();
    QVERIFY(window != nullptr);
    window->setGeometry(0, 0, 760, 260);
    sandbox_.ui().queueFileName(path.toStdString());
    main.executeCommand(cmd::kFileOpen);
    settle();
    treeListView& view = window->view();
    QVERIFY(view.loaded());

    // Typed into a cell, and pasted from a spreadsheet, with points.
    TreeListWidget& widget = window->widget();
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(1, 2));
    QTest::mouseDClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(1, 2));
    QTest::keyClicks(&widget.editor(), QStringLiteral("12.75"));
    QTest::keyClick(&widget.editor(), Qt::Key_Return);
    QCOMPARE(view.treeList().rows[0].dbh, 12.75f);
    QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, cellCentre(2, 2));
    QGuiApplication::clipboard()->setText(QStringLiteral("8.5\t40.25"));
    main.executeCommand(cmd::kEditPaste);
    QCOMPARE(view.treeList().rows[1].dbh, 8.5f);
    QCOMPARE(view.treeList().rows[1].height, 40.25f);
    QVERIFY(sandbox_.ui().messages().empty());

    main.executeCommand(cmd::kFileSave);
    QCOMPARE(fileBytes(path), QByteArray("1Tr 7  0.25 22 -1  -1 0  0 -1.0 -1.0 0 9.5\n"
                                         "2  101 12.8 58.21\n"
                                         "2  102  8.5 40.22\n"));

    std::string expectedCopy;
    {
        const ProcessLocale c("C");
        expectedCopy = wholeListText(view.treeList());
    }
    for (const char* part : {"\t0.25\t22\t", "\t9.5\r\n", "\t12.8\t58.2\t1\r\n", "\t8.5\t40.2\t2\r\n"}) {
        QVERIFY2(expectedCopy.find(part) != std::string::npos, expectedCopy.c_str());
    }
    QApplication::clipboard()->clear();
    main.executeCommand(cmd::kEditSelectAll);
    main.executeCommand(cmd::kEditCopy);
    QCOMPARE(QApplication::clipboard()->text().toUtf8(), bytesOf(expectedCopy));
}

void LocaleWindowTest::treeListStateEditsAndCopiesAsUnderC() {
    GrowthModel model;
    for (int slot = 1; slot <= 3; ++slot) {
        model.dbh[slot] = 4.25f + static_cast<float>(slot);
        model.ht[slot] = 30.5f + static_cast<float>(slot);
        model.freq[slot] = 50.125f;
        model.thinFreq[slot] = 0.75f;
    }
    fakes::RecordingUi ui;
    QtClipboard clipboard;
    treeListStateDlg form(model, ui, clipboard, treeValuesEditor(ui));
    TreeListStateDialog dialog(form);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.list();
    QCOMPARE(list->count(), 3);

    whenDialogShows<TreeValuesDialog>([](TreeValuesDialog& values) {
        QCOMPARE(values.box(treelistdlg::kDbh)->text(), QStringLiteral("6.25"));
        values.box(treelistdlg::kHeight)->setText(QStringLiteral("34.5"));
        values.box(treelistdlg::kThinFrequency)->setText(QStringLiteral("1.5e1"));
        values.accept();
    });
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QVERIFY(ui.texts().empty());

    list->selectAll();
    QApplication::clipboard()->clear();
    dialog.findChild<QPushButton*>(controlName(treelistdlg::kCopySelected))->click();
    QCOMPARE(QApplication::clipboard()->text().toUtf8(), QByteArray("5.25\t31.50\t50.12\t0.75\r\n"
                                                                    "6.25\t34.50\t50.12\t15.00\r\n"
                                                                    "7.25\t33.50\t50.12\t0.75"));
}

QTEST_MAIN(LocaleWindowTest)
#include "locale_window_test.moc"
