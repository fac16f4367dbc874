// grovex-make-screenshots: the pictures of the user manual, grabbed from the real windows of the application on
// Qt's offscreen platform, so that they show what the program of the same build shows.
//
// Usage: grovex-make-screenshots OUTDIR --tree-list FILE.dat
//
// The application starts in a temporary folder with settings of its own (the user's are neither read nor
// written), runs a real Initialize and Project and a Midrotation Treatment and Project through its dialogs,
// loads FILE.dat into the tree list window, and writes these pictures into OUTDIR:
//   main-window.png           the main window at start, with the new simulation window GROVEX1
//   plantation-information.png, volume-output-units.png   the two pages of "Initialize Stand", filled in
//   results.png               the main window with the tables of the first projection
//   stand-projection.png      "Stand Projection" with a thinning and a fertilization
//   thinned-trees.png         the table of the trees that treatment removed
//   tree-list-state.png       "Change Tree List State" for the projected stand
//   tree-list.png             the tree list window with FILE.dat
// The style, the fonts and the window sizes are fixed, so the pictures change only when the windows do.

#include "offscreen_tool.h"

#include "base/command_ids.h"
#include "dialogs/general_info_dlg.h"
#include "dialogs/out_units_dlg.h"
#include "dialogs/stand_projection_dlg.h"
#include "qt/application.h"
#include "qt/command_actions.h"
#include "qt/initialize_stand_sheet.h"
#include "qt/main_window.h"
#include "qt/platform/qt_settings.h"
#include "qt/simulation_window.h"
#include "qt/stand_projection_dialog.h"
#include "qt/tree_list_dialogs_qt.h"
#include "qt/tree_list_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

using namespace grovex;

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr QSize kMainWindowSize(940, 640);
constexpr int kWatchdogMilliseconds = 60'000;

int failures = 0;

void fail(const QString& message) {
    std::fprintf(stderr, "grovex-make-screenshots: %s\n", qPrintable(message));
    ++failures;
}

// Message boxes would wait for a user who is not there: each one is a failure, answered with its first button.
// The file dialogs answer with the queued paths.
class UnattendedUi : public Ui {
public:
    std::deque<std::string> fileNames;

    Answer message(std::string_view text, Buttons buttons, Icon, std::string_view) override {
        fail(QStringLiteral("unexpected message: %1").arg(QString::fromUtf8(text.data(), qsizetype(text.size()))));
        return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    }
    std::optional<std::string> openFileName(const FileDialogRequest&) override { return next(); }
    std::optional<std::string> saveFileName(const FileDialogRequest&) override { return std::nullopt; }

private:
    std::optional<std::string> next() {
        if (fileNames.empty()) {
            return std::nullopt;
        }
        std::string name = std::move(fileNames.front());
        fileNames.pop_front();
        return name;
    }
};

class NoShell : public Shell {
public:
    int open(const std::string&, const std::string&) override { return kShellFileNotFound; }
};

class Screenshots {
public:
    Screenshots(Application& app, const QDir& output) : app_(app), output_(output) {}

    void save(QWidget& widget, const QString& name) {
        // No blinking text cursor in the pictures.
        if (QWidget* focused = QApplication::focusWidget()) {
            focused->clearFocus();
        }
        QCoreApplication::processEvents();
        if (!widget.grab().save(output_.filePath(name))) {
            fail(QStringLiteral("cannot write %1").arg(output_.filePath(name)));
        }
    }

    // The active simulation window filling the main window's area.
    void fillArea() {
        MainWindow& main = app_.mainWindow();
        if (QMdiSubWindow* window = main.mdiArea().currentSubWindow()) {
            window->setGeometry(QRect(QPoint(0, 0), main.mdiArea().viewport()->size()));
        }
        QCoreApplication::processEvents();
    }

    // Runs a command that opens a modal dialog; `answer` fills, grabs and closes it once it is up.
    void withDialog(int command, const std::function<void(QDialog&)>& answer) {
        QTimer::singleShot(0, [answer, command] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                fail(QStringLiteral("command %1 opened no dialog").arg(command));
                return;
            }
            QCoreApplication::processEvents();
            answer(*dialog);
            if (dialog->isVisible()) {
                fail(QStringLiteral("the dialog of command %1 refused its inputs").arg(command));
                dialog->reject();
            }
        });
        app_.mainWindow().executeCommand(command);
    }

private:
    Application& app_;
    QDir output_;
};

// Puts a text into a box as typing would; boxes that cannot be typed into keep what they show.
void type(QWidget* widget, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(widget);
    if (box == nullptr) {
        fail(QStringLiteral("no text box %1").arg(widget ? widget->objectName() : QStringLiteral("(none)")));
        return;
    }
    if (box->isReadOnly() || !box->isEnabled()) {
        return;
    }
    box->setText(text);
    emit box->textEdited(text); // what typing reports; the dialog's form listens to it
}

void click(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (!button->isChecked() || !button->isCheckable()) {
            button->click();
        }
        return;
    }
    fail(QStringLiteral("no button %1").arg(widget ? widget->objectName() : QStringLiteral("(none)")));
}

void pressOk(QDialog& dialog) {
    if (auto* ok = dialog.findChild<QPushButton*>(controlName(1))) {
        ok->click();
    } else {
        dialog.accept();
    }
}

// Bare land, site index 60 and 800 trees planted (where the page lets them be typed), projected to age 15
// in cubic feet outside bark.
void initializeStand(Screenshots& shots, Application& app) {
    shots.withDialog(cmd::kInitializeAndProject, [&shots](QDialog& dialog) {
        auto& sheet = static_cast<InitializeStandSheet&>(dialog);
        type(sheet.control(plantation::kTitle), QStringLiteral("Tract 7"));
        type(sheet.control(plantation::kRotation), QStringLiteral("40"));
        type(sheet.control(plantation::kSiteIndex), QStringLiteral("60"));
        type(sheet.control(plantation::kTreesPlanted), QStringLiteral("800"));
        type(sheet.control(plantation::kPercentSurvival), QStringLiteral("90"));
        for (int k = 0; k < plantation::kTargetCount; ++k) {
            type(sheet.control(plantation::kFirstTarget + k), QString());
        }
        type(sheet.control(plantation::kFirstTarget), QStringLiteral("15"));
        sheet.tabs()->setCurrentIndex(0);
        shots.save(sheet, QStringLiteral("plantation-information.png"));

        sheet.tabs()->setCurrentIndex(1);
        click(sheet.control(volumeunits::kCubicFeetButton));
        click(sheet.control(volumeunits::kOutsideBarkButton));
        type(sheet.control(volumeunits::kMinDbhClass), QStringLiteral("7"));
        type(sheet.control(volumeunits::kTopDiameter), QStringLiteral("6"));
        shots.save(sheet, QStringLiteral("volume-output-units.png"));
        pressOk(sheet);
    });
    if (app.mainWindow().activeSimulation()->document().model.lastTable() < 0) {
        fail(QStringLiteral("Initialize and Project made no table"));
    }
}

// A row thinning of every fourth row with a low thinning to 70 square feet, 150 pounds of nitrogen with
// phosphorus, then on to age 20.
void treatStand(Screenshots& shots) {
    shots.withDialog(cmd::kMidrotationAndProject, [&shots](QDialog& dialog) {
        auto& form = static_cast<StandProjectionDialog&>(dialog);
        click(form.control(standprojection::kThin));
        click(form.control(standprojection::kRowAndLowThin));
        type(form.control(standprojection::kRowInterval), QStringLiteral("4"));
        click(form.control(standprojection::kBasalArea));
        type(form.control(standprojection::kResidualBasalArea), QStringLiteral("70"));
        click(form.control(standprojection::kFertilize));
        click(form.control(standprojection::kPhosphorus));
        type(form.control(standprojection::kNitrogen), QStringLiteral("150"));
        for (int k = 0; k < plantation::kTargetCount; ++k) {
            type(form.control(plantation::kFirstTarget + k), QString());
        }
        type(form.control(plantation::kFirstTarget), QStringLiteral("20"));
        shots.save(form, QStringLiteral("stand-projection.png"));
        pressOk(form);
    });
}

// The view scrolled to the table of the trees the first thinning removed.
void showFirstThinnedTable(SimulationWindow& window) {
    CGROVEXView& view = window.view();
    for (const ResultTable& table : window.document().model.tables) {
        if (table.kind == kThinnedTreeTable) {
            view.setScrollPosition({0, table.tableTop});
            return;
        }
    }
    fail(QStringLiteral("the treatment made no table of thinned trees"));
}

int run(const QDir& output, const QString& treeList) {
    QTemporaryDir sandbox;
    if (!sandbox.isValid() || !QDir::setCurrent(sandbox.path())) {
        fail(QStringLiteral("cannot make a temporary folder"));
        return kExitFailed;
    }
    auto unattended = std::make_unique<UnattendedUi>();
    UnattendedUi& ui = *unattended;
    ApplicationServices services;
    services.settings = std::make_unique<QtSettings>(QDir(sandbox.path()).filePath(QStringLiteral("settings.ini")));
    services.shell = std::make_unique<NoShell>();
    services.ui = std::move(unattended);
    Application app(std::move(services));
    if (!app.start({})) {
        fail(QStringLiteral("the application did not start"));
        return kExitFailed;
    }
    MainWindow& main = app.mainWindow();
    main.showNormal();
    main.resize(kMainWindowSize);
    Screenshots shots(app, output);

    shots.fillArea();
    shots.save(main, QStringLiteral("main-window.png"));

    initializeStand(shots, app);
    shots.fillArea();
    shots.save(main, QStringLiteral("results.png"));

    treatStand(shots);
    shots.fillArea();
    showFirstThinnedTable(*main.activeSimulation());
    shots.save(main, QStringLiteral("thinned-trees.png"));

    shots.withDialog(cmd::kChangeSimulationTreeList, [&shots](QDialog& dialog) {
        shots.save(dialog, QStringLiteral("tree-list-state.png"));
        dialog.reject();
    });

    TreeListWindow& trees = app.ensureTreeListWindow();
    ui.fileNames.push_back(QDir::toNativeSeparators(treeList).toStdString());
    trees.executeCommand(cmd::kFileOpen);
    if (!trees.view().loaded()) {
        fail(QStringLiteral("the tree list %1 did not load").arg(treeList));
    }
    trees.show();
    main.mdiArea().setActiveSubWindow(&trees);
    trees.setGeometry(QRect(QPoint(0, 0), QSize(720, 420)));
    shots.save(trees, QStringLiteral("tree-list.png"));

    QDir::setCurrent(output.path());
    return failures == 0 ? kExitSuccess : kExitFailed;
}

} // namespace

int main(int argc, char** argv) {
    grovex::tools::runOffscreen();
    QApplication qtApp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    QApplication::setFont(font);

    const QStringList arguments = QApplication::arguments();
    QString outputDir;
    QString treeList;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--tree-list") && i + 1 < arguments.size()) {
            treeList = QFileInfo(arguments[++i]).absoluteFilePath();
        } else if (!arguments[i].startsWith(QLatin1Char('-')) && outputDir.isEmpty()) {
            outputDir = QFileInfo(arguments[i]).absoluteFilePath();
        } else {
            outputDir.clear();
            break;
        }
    }
    if (outputDir.isEmpty() || treeList.isEmpty()) {
        std::fputs("Usage: grovex-make-screenshots OUTDIR --tree-list FILE.dat\n", stderr);
        return kExitUsage;
    }
    if (!QDir().mkpath(outputDir)) {
        fail(QStringLiteral("cannot make %1").arg(outputDir));
        return kExitFailed;
    }

    // A dialog that waits for a user would hold the build for ever.
    QTimer::singleShot(kWatchdogMilliseconds, [] {
        std::fputs("grovex-make-screenshots: still waiting after a minute; a window is waiting for input\n", stderr);
        std::_Exit(kExitFailed);
    });
    return run(QDir(outputDir), treeList);
}
