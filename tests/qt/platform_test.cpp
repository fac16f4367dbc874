// The Qt side of the platform layer: file dialog filters, settings, clipboard, fonts and drawing, shell open.

#include "qt/platform/qt_canvas.h"
#include "qt/platform/qt_clipboard.h"
#include "qt/platform/qt_settings.h"
#include "qt/platform/qt_shell.h"
#include "qt/platform/qt_ui.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <cstring>

using namespace grovex;

namespace {

LogFont fontOfHeight(int height, const char* face = "Courier New") {
    LogFont font;
    font.height = height;
    std::strncpy(font.faceName, face, sizeof font.faceName - 1);
    return font;
}

// Columns [left, right) of the image that hold at least one dark pixel within rows [top, bottom).
struct Ink {
    int left = -1;
    int right = -1;
    bool any() const { return left >= 0; }
};

Ink inkInRows(const QImage& image, int top, int bottom) {
    Ink ink;
    for (int y = std::max(0, top); y < std::min(image.height(), bottom); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink.left = ink.left < 0 ? x : std::min(ink.left, x);
                ink.right = std::max(ink.right, x + 1);
            }
        }
    }
    return ink;
}

QImage whiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("document and all files") << "Simulation Files (*.gvx)|*.gvx|All Files (*.*)|*.*||"
                                                << QStringList{"Simulation Files (*.gvx)", "All Files (*)"};
        QTest::newRow("description without patterns, several patterns")
            << "Tree lists|*.dat;*.txt||" << QStringList{"Tree lists (*.dat *.txt)"};
        QTest::newRow("shown pattern differs from the real one")
            << "Macros (*.mac)|*.gmc||" << QStringList{"Macros (*.gmc)"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(toQtNameFilters(filter.toStdString()), expected);
    }

    void defaultExtensionOnlyForNamesWithout() {
        QCOMPARE(withDefaultExtension("/home/u/run", ".gvx"), QString("/home/u/run.gvx"));
        QCOMPARE(withDefaultExtension("/home/u/run", "gvx"), QString("/home/u/run.gvx"));
        QCOMPARE(withDefaultExtension("/home/u.d/run", ".gvx"), QString("/home/u.d/run.gvx"));
        QCOMPARE(withDefaultExtension("/home/u/run.", ".gvx"), QString("/home/u/run.gvx"));
        QCOMPARE(withDefaultExtension("/home/u/run.gvx", ".gvx"), QString("/home/u/run.gvx"));
        QCOMPARE(withDefaultExtension("/home/u/run.txt", ".gvx"), QString("/home/u/run.txt"));
        QCOMPARE(withDefaultExtension("/home/u/run", ""), QString("/home/u/run"));
    }

    void settingsRoundTripThroughTheStore() {
        QTemporaryDir dir;
        const QString file = dir.filePath("grovex.ini");
        const std::vector<uint8_t> bytes{0x00, 0x2C, 0x01, 0xFF, 0x80, 0x00, 0x7F};
        {
            QtSettings settings(file);
            QVERIFY(!settings.readString("Settings", "LastCurDir"));
            QVERIFY(!settings.readInt("Options", "AllTables"));
            QVERIFY(!settings.readBytes("Window size", "Rect"));
            QCOMPARE(settings.intOr("Options", "AllTables", 1), 1);

            settings.writeString("Recent File List", "File1", "/data/stand A.gvx");
            settings.writeInt("Options", "AllTables", 0);
            settings.writeInt("Window size", "Max", -3);
            settings.writeBytes("Window size", "Rect", bytes);
            settings.writeString("Settings", "Note", "12.5");
            settings.sync();
        }
        QtSettings reopened(file);
        QCOMPARE(reopened.readString("Recent File List", "File1"), std::optional<std::string>("/data/stand A.gvx"));
        QCOMPARE(reopened.readInt("Options", "AllTables"), std::optional<int>(0));
        QCOMPARE(reopened.readInt("Window size", "Max"), std::optional<int>(-3));
        QCOMPARE(reopened.readBytes("Window size", "Rect"), std::optional<std::vector<uint8_t>>(bytes));
        // Sections are kept apart, and a text that is no number reads as no number.
        QVERIFY(!reopened.readString("Settings", "File1"));
        QCOMPARE(reopened.readInt("Settings", "Note"), std::optional<int>());
        QCOMPARE(reopened.qsettings().value("Options/AllTables").toInt(), 0);
    }

    void clipboardTextReadsBack() {
        QtClipboard clipboard;
        const std::string text = "  DBH\tTrees\r\n3\t12.5";
        QCOMPARE(clipboard.setText(text), ClipboardStatus::Ok);
        QCOMPARE(clipboard.text(), std::optional<std::string>(text));
    }

    void textExtentFollowsTheFontHeight() {
        const QtFontMetricsSource screen;
        const Size small = screen.textExtent(fontOfHeight(14), "22288822.2288");
        const Size large = screen.textExtent(fontOfHeight(28), "22288822.2288");
        QVERIFY(small.width > 0 && small.height > 0);
        QVERIFY2(large.height > small.height && large.width > small.width, "a taller font measures larger");
        // Every character of the table font is as wide as any other.
        QCOMPARE(screen.textExtent(fontOfHeight(18), "WWWW").width, screen.textExtent(fontOfHeight(18), "1111").width);
        // The height is in the device's own pixels, whatever its resolution: printer fonts are scaled by the view.
        QImage printerPage(10, 10, QImage::Format_RGB32);
        printerPage.setDotsPerMeterX(23622); // 600 dpi
        printerPage.setDotsPerMeterY(23622);
        const QtFontMetricsSource printer(&printerPage);
        QVERIFY(qAbs(printer.textExtent(fontOfHeight(28), "W").height - large.height) <= 1);
    }

    void fontRecordMapsToQtFont() {
        LogFont record = fontOfHeight(18);
        record.weight = 700;
        record.italic = 1;
        QFont font = toQFont(record);
        QCOMPARE(font.pixelSize(), 18);
        QCOMPARE(font.weight(), QFont::Bold);
        QVERIFY(font.italic());
        QCOMPARE(toQFont(fontOfHeight(-20)).pixelSize(), 20);
        QCOMPARE(toQFont(fontOfHeight(18)).weight(), QFont::Normal);

        // A face this system lacks becomes a fixed-pitch one (measured: some monospaced fonts do not say so).
        const QFontMetrics missing(toQFont(fontOfHeight(18, "No Such Face Anywhere")));
        QCOMPARE(missing.horizontalAdvance("WWWW"), missing.horizontalAdvance("iiii"));
        QCOMPARE(missing.horizontalAdvance("WWWW"), missing.horizontalAdvance("...."));
        const LogFont back = toLogFont(font);
        QCOMPARE(back.height, 18);
        QCOMPARE(back.weight, 700);
        QCOMPARE(back.italic, uint8_t{1});
    }

    void drawTextAlignsAndBreaksLines() {
        QImage image = whiteImage(300, 200);
        QPainter painter(&image);
        QtCanvas canvas(painter, image.rect());
        canvas.setFont(fontOfHeight(20));
        canvas.setTextColor(kBlack);
        canvas.setBackgroundMode(BackgroundMode::Transparent);
        const int line = canvas.textExtent("W").height;
        canvas.drawText("12.5", {0, 0, 300, line}, TextAlign::Right);
        canvas.drawText("Total\r\n\nTrees", {0, line, 300, 4 * line}, TextAlign::Left);
        canvas.drawText("DBH", {0, 4 * line, 300, 5 * line}, TextAlign::Center);
        painter.end();

        const Ink right = inkInRows(image, 0, line);
        QVERIFY(right.any() && right.left > 200 && right.right <= 300);
        const Ink first = inkInRows(image, line, 2 * line);
        QVERIFY(first.any() && first.left < 10);
        QVERIFY2(!inkInRows(image, 2 * line + 2, 3 * line - 2).any(), "an empty line stays empty");
        QVERIFY(inkInRows(image, 3 * line, 4 * line).any());
        const Ink centred = inkInRows(image, 4 * line, 5 * line);
        QVERIFY(centred.any() && qAbs((centred.left + centred.right) / 2 - 150) < 8);
    }

    void backgroundModeOriginAndClipping() {
        QImage image = whiteImage(200, 100);
        QPainter painter(&image);
        QtCanvas canvas(painter, image.rect());
        canvas.setFont(fontOfHeight(20));
        canvas.setWindowOrigin({1000, 500});
        QCOMPARE(canvas.clipBox().left, 1000);
        QCOMPARE(canvas.clipBox().bottom, 600);
        // Opaque: white text on a black box as wide as the text, drawn at logical (1000, 500).
        canvas.setTextColor(kWhite);
        canvas.setBackgroundColor(kBlack);
        canvas.setBackgroundMode(BackgroundMode::Opaque);
        canvas.textOut({1000, 500}, "  ");
        const Size blanks = canvas.textExtent("  ");
        // Text wider than its rectangle is cut at the rectangle's edge.
        canvas.setTextColor(kBlack);
        canvas.setBackgroundMode(BackgroundMode::Transparent);
        canvas.drawText("WWWWWWWWWWWW", {1000, 550, 1040, 580}, TextAlign::Left);
        painter.end();

        QCOMPARE(qGray(image.pixel(1, 1)), 0);
        QCOMPARE(qGray(image.pixel(blanks.width - 2, blanks.height - 2)), 0);
        QCOMPARE(qGray(image.pixel(blanks.width + 2, 2)), 255);
        const Ink clipped = inkInRows(image, 50, 80);
        QVERIFY(clipped.any() && clipped.right <= 40);
    }

    void shellOpenResultCodes() {
        QTemporaryDir dir;
        QFile manual(dir.filePath("Grovex.pdf"));
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.close();
        const std::string directory = dir.path().toStdString() + "/";

        QList<QUrl> opened;
        QtShell working([&](const QUrl& url) {
            opened << url;
            return true;
        });
        QCOMPARE(working.open("Grovex.pdf", directory), kShellSuccess);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("Grovex.pdf"))});
        QCOMPARE(working.open("Missing.pdf", directory), kShellFileNotFound);
        QCOMPARE(working.open("Grovex.pdf", directory + "gone/"), kShellPathNotFound);
        QCOMPARE(opened.size(), 1);

        QtShell noViewer([](const QUrl&) { return false; });
        QCOMPARE(noViewer.open(dir.filePath("Grovex.pdf").toStdString(), ""), kShellNoAssociation);
    }
};

QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
