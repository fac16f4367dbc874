// Settings that cannot be written: the store says why, and the application tells the user once a run.

#include "qt/application.h"
#include "qt/main_window.h"
#include "qt/platform/qt_settings.h"
#include "support/recording_ui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace grovex;

namespace {

std::string failure(const QString& file, const char* reason) {
    return "Unable to save the settings to " + QDir::toNativeSeparators(file).toStdString() + ": " + reason + ".";
}

} // namespace

class SettingsFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() {
        ::chmod(QFile::encodeName(dir_->path()).constData(), 0755);
        dir_.reset();
    }

    void aWritableFileIsSavedWithoutComplaint();
    void eachObstacleIsNamedWithItsReason();
    void aFolderThatCannotBeWrittenInIsReported();
    void theApplicationReportsAFailureOnceARun();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void SettingsFaultsTest::aWritableFileIsSavedWithoutComplaint() {
    const QString file = dir_->filePath(QStringLiteral("settings.ini"));
    {
        QtSettings settings(file);
        settings.writeInt("Settings", "AllTables", 0);
        QVERIFY(settings.flush().ok());
    }
    QVERIFY(QtSettings(file).readInt("Settings", "AllTables") == std::optional<int>(0));
}

void SettingsFaultsTest::eachObstacleIsNamedWithItsReason() {
    // A folder where the file should be.
    const QString folder = dir_->filePath(QStringLiteral("settings.ini"));
    QVERIFY(QDir().mkpath(folder));
    QtSettings onFolder(folder);
    onFolder.writeInt("Settings", "AllTables", 1);
    QCOMPARE(onFolder.flush().message(), failure(folder, "Is a directory"));
    QVERIFY(QFileInfo(folder).isDir());

    // A file where the folder should be: no user may write there, root included.
    const QString plain = dir_->filePath(QStringLiteral("plain"));
    QFile made(plain);
    QVERIFY(made.open(QIODevice::WriteOnly));
    made.write("kept");
    made.close();
    const QString underFile = plain + QStringLiteral("/settings.ini");
    QtSettings underAFile(underFile);
    underAFile.writeInt("Settings", "AllTables", 1);
    QCOMPARE(underAFile.flush().message(), failure(underFile, "Not a directory"));
    QFile kept(plain);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("kept"));
}

void SettingsFaultsTest::aFolderThatCannotBeWrittenInIsReported() {
    if (::geteuid() == 0) {
        QSKIP("permission bits do not bind root; the file in place of a folder stands in");
    }
    const QString file = dir_->filePath(QStringLiteral("settings.ini"));
    {
        QtSettings first(file);
        first.writeInt("Settings", "AllTables", 1);
        QVERIFY(first.flush().ok());
    }
    ::chmod(QFile::encodeName(dir_->path()).constData(), 0555);
    {
        QtSettings settings(file);
        settings.writeInt("Settings", "AllTables", 0);
        QCOMPARE(settings.flush().message(), failure(file, "Permission denied"));
    }
    // The file on the disk (QSettings keeps the unsaved value in its own cache for this process).
    QFile onDisk(file);
    QVERIFY(onDisk.open(QIODevice::ReadOnly));
    QVERIFY(onDisk.readAll().contains("AllTables=1"));
}

void SettingsFaultsTest::theApplicationReportsAFailureOnceARun() {
    const QString folder = dir_->filePath(QStringLiteral("settings.ini"));
    QVERIFY(QDir().mkpath(folder));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir_->path());

    ApplicationServices services;
    services.settings = std::make_unique<QtSettings>(folder);
    auto ui = std::make_unique<fakes::RecordingUi>();
    fakes::RecordingUi& messages = *ui;
    services.ui = std::move(ui);
    {
        Application app(std::move(services));
        QVERIFY(app.start({}));
        app.saveSettings();
        app.fileNew(); // changes more settings
        QVERIFY(app.mainWindow().close());
        app.saveSettings();
        QCOMPARE(messages.texts(), std::vector<std::string>{failure(folder, "Is a directory")});
        QVERIFY(messages.messages()[0].icon == Icon::Warning);
    }
    QDir::setCurrent(previous);
}

QTEST_MAIN(SettingsFaultsTest)
#include "settings_faults_test.moc"
