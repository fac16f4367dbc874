// grovex-make-manual: the user manual "Grovex.pdf" from its Markdown chapters, read by Qt's Markdown reader and
// written by its PDF writer: a title page, the contents with page numbers, then the chapters, each starting on
// a new page, with the page number at the foot of every page.
//
// Usage: grovex-make-manual -o OUT.pdf [-I DIR]... [--title TEXT] [--subtitle TEXT] CHAPTER.md...
//
// Images (`![text](images/name.png)`) are looked up in the folder of each chapter, then in the -I folders in
// order. A missing image is an error: the manual is never made with a hole in it.

#include "offscreen_tool.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: grovex-make-manual -o OUT.pdf [-I DIR]... [--title TEXT] [--subtitle TEXT] CHAPTER.md...\n"
    "Writes the chapters as one PDF: a title page, the contents, then the chapters with page numbers.\n";

// Fonts of the fonts-dejavu-core package, which the build installs; the same on every build machine.
const QString kBodyFamily = QStringLiteral("DejaVu Serif");
const QString kHeadingFamily = QStringLiteral("DejaVu Sans");
const QString kCodeFamily = QStringLiteral("DejaVu Sans Mono");
constexpr qreal kBodyPoints = 10;
constexpr qreal kCodePoints = 8.5;
constexpr qreal kHeadingPoints[] = {20, 14, 11.5, 10.5, 10, 10};

constexpr int kResolution = 600;         // dots per inch of the PDF's coordinates
constexpr qreal kMarginMillimetres = 22; // on every side
constexpr qreal kFooterMillimetres = 10; // the band of the page number, inside the bottom margin's line
constexpr qreal kLayoutDpi = 96;         // the chapters are laid out in pixels of 1/96 inch, like the pictures
constexpr qreal kPixelsPerPoint = kLayoutDpi / 72;
constexpr int kMaxKeepWithNextPasses = 40; // headings pushed to the next page, one round at a time

struct Options {
    QString output;
    QStringList searchDirs;
    QStringList chapters;
    QString title = QStringLiteral("GROVEX");
    QString subtitle = QStringLiteral("User manual");
};

void fail(const QString& message) {
    std::fprintf(stderr, "grovex-make-manual: %s\n", qPrintable(message));
}

// A file by its name as written in a chapter: absolute, or relative to one of the folders.
QString findFile(const QString& name, const QStringList& dirs) {
    if (QFileInfo(name).isAbsolute()) {
        return QFileInfo::exists(name) ? name : QString();
    }
    for (const QString& dir : dirs) {
        QString path = QDir(dir).filePath(name);
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return QString();
}

// The manual's text: the chapters one after the other.
bool readChapters(const Options& options, QString& text, QStringList& imageDirs) {
    for (const QString& chapter : options.chapters) {
        QFile file(chapter);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            fail(QStringLiteral("cannot read %1: %2").arg(chapter, file.errorString()));
            return false;
        }
        imageDirs.append(QFileInfo(chapter).absolutePath());
        text += QString::fromUtf8(file.readAll()) + QStringLiteral("\n\n");
    }
    imageDirs.append(options.searchDirs);
    imageDirs.removeDuplicates();
    return true;
}

// Images come from the folders; a name found nowhere is remembered, and the run fails.
class ManualDocument : public QTextDocument {
public:
    explicit ManualDocument(QStringList imageDirs) : imageDirs_(std::move(imageDirs)) {}

    const QStringList& missing() const { return missing_; }

    QImage image(const QString& name) {
        const QString path = findFile(name, imageDirs_);
        QImage result;
        if (path.isEmpty() || !result.load(path)) {
            if (!missing_.contains(name)) {
                missing_.append(name);
            }
        }
        return result;
    }

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::ImageResource) {
            return image(name.toString());
        }
        return QTextDocument::loadResource(type, name);
    }

private:
    QStringList imageDirs_;
    QStringList missing_;
};

void forEachFragment(QTextDocument& doc, const std::function<void(QTextCursor&, const QTextFragment&)>& visit) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) {
                continue;
            }
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            visit(cursor, fragment);
        }
    }
}

bool isCodeBlock(const QTextBlock& block) {
    return block.blockFormat().hasProperty(QTextFormat::BlockCodeFence) ||
           block.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage) || block.blockFormat().nonBreakableLines();
}

// A paragraph that holds a picture and nothing else.
bool isPicture(const QTextBlock& block) {
    return block.text() == QString(QChar::ObjectReplacementCharacter);
}

// Fonts, spacing, code blocks and tables of the printed page. Lengths are given in points of 1/72 inch.
void style(QTextDocument& doc) {
    QTextCursor edit(&doc);
    edit.beginEditBlock(); // one layout at the end, not one per change
    forEachFragment(doc, [&](QTextCursor& cursor, const QTextFragment& fragment) {
        QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            return;
        }
        const int level = cursor.block().blockFormat().headingLevel();
        const bool code = format.fontFixedPitch() || isCodeBlock(cursor.block());
        if (level > 0) {
            // The Markdown reader sizes headings by a size adjustment, which a point size cannot override.
            format.clearProperty(QTextFormat::FontSizeAdjustment);
            format.setFontFamilies({kHeadingFamily});
            format.setFontPointSize(kHeadingPoints[std::min(level, 6) - 1]);
            format.setFontWeight(QFont::Bold);
            format.setForeground(QColor(0x2f, 0x4f, 0x2f));
            cursor.setCharFormat(format);
            return;
        }
        QTextCharFormat change;
        if (code) {
            change.setFontFamilies({kCodeFamily});
            change.setFontFixedPitch(true);
            change.setFontPointSize(kCodePoints);
        } else {
            change.setFontFamilies({kBodyFamily});
        }
        if (format.isAnchor()) {
            change.setForeground(QColor(0x1f, 0x3f, 0x7f));
            change.setFontUnderline(false);
        }
        cursor.mergeCharFormat(change);
    });

    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format;
        const int level = block.blockFormat().headingLevel();
        if (level == 1) {
            format.setTopMargin(0);
            format.setBottomMargin(14 * kPixelsPerPoint);
            if (block.position() > 0) {
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            }
        } else if (level > 1) {
            format.setTopMargin((level == 2 ? 16 : 11) * kPixelsPerPoint);
            format.setBottomMargin(5 * kPixelsPerPoint);
        } else if (isCodeBlock(block)) {
            // One block per line: the shaded box is spaced only above its first line and below its last.
            format.setBackground(QColor(0xf2, 0xf2, 0xee));
            format.setLeftMargin(6 * kPixelsPerPoint);
            format.setTopMargin(block.previous().isValid() && isCodeBlock(block.previous()) ? 0 : 3 * kPixelsPerPoint);
            format.setBottomMargin(block.next().isValid() && isCodeBlock(block.next()) ? 0 : 9 * kPixelsPerPoint);
            format.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
        } else if (isPicture(block)) {
            format.setAlignment(Qt::AlignHCenter);
            format.setTopMargin(4 * kPixelsPerPoint);
            format.setBottomMargin(10 * kPixelsPerPoint);
            format.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
        } else if (block.textList() == nullptr) {
            format.setTopMargin(0);
            format.setBottomMargin(6 * kPixelsPerPoint);
            format.setLineHeight(112, QTextBlockFormat::ProportionalHeight);
        } else {
            format.setBottomMargin(3 * kPixelsPerPoint);
        }
        QTextCursor(block).mergeBlockFormat(format);
    }

    // Tables: thin ruled cells across the whole width, the heading row shaded.
    std::vector<QTextFrame*> frames{doc.rootFrame()};
    while (!frames.empty()) {
        QTextFrame* frame = frames.back();
        frames.pop_back();
        for (QTextFrame* child : frame->childFrames()) {
            frames.push_back(child);
        }
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr) {
            continue;
        }
        QTextTableFormat format = table->format();
        format.setBorder(0.75 * kPixelsPerPoint);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(0x80, 0x80, 0x80));
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(3 * kPixelsPerPoint);
        format.setTopMargin(2 * kPixelsPerPoint);
        format.setBottomMargin(9 * kPixelsPerPoint);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setHeaderRowCount(1);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat heading = cell.format();
            heading.setBackground(QColor(0xe6, 0xe9, 0xe1));
            cell.setFormat(heading);
        }
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
                QTextBlockFormat cellBlock;
                cellBlock.setBottomMargin(0);
                cellBlock.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
                cursor.mergeBlockFormat(cellBlock);
            }
        }
    }
    edit.endEditBlock();
}

// Every image as wide as it was grabbed, at most the text's width.
void fitImages(ManualDocument& doc, qreal textWidth) {
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    forEachFragment(doc, [&](QTextCursor& cursor, const QTextFragment& fragment) {
        if (!fragment.charFormat().isImageFormat()) {
            return;
        }
        QTextImageFormat format = fragment.charFormat().toImageFormat();
        const QImage image = doc.image(format.name());
        if (image.isNull()) {
            return;
        }
        const qreal width = std::min<qreal>(image.width(), textWidth);
        format.setWidth(width);
        format.setHeight(width * image.height() / image.width());
        cursor.setCharFormat(format);
    });
    edit.endEditBlock();
}

// The page of a point of the laid-out document.
int pageAt(qreal y, qreal pageHeight) {
    return static_cast<int>(y / pageHeight);
}

qreal firstLineTop(const QTextDocument& doc, const QTextBlock& block) {
    const QRectF rect = doc.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    return layout != nullptr && layout->lineCount() > 0 ? rect.top() + layout->lineAt(0).y() : rect.top();
}

// Lays out the whole document now: the layout otherwise works lazily, from the top down to what was asked.
void layOutWhole(QTextDocument& doc) {
    doc.markContentsDirty(0, doc.characterCount());
    doc.pageCount();
}

// A heading left alone at the foot of a page goes to the next one, with what it heads.
void keepHeadingsWithNext(QTextDocument& doc) {
    const qreal pageHeight = doc.pageSize().height();
    for (int pass = 0; pass < kMaxKeepWithNextPasses; ++pass) {
        bool moved = false;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            const QTextBlock next = block.next();
            if (block.blockFormat().headingLevel() == 0 || !next.isValid() ||
                block.blockFormat().pageBreakPolicy() == QTextFormat::PageBreak_AlwaysBefore) {
                continue;
            }
            if (pageAt(firstLineTop(doc, block), pageHeight) != pageAt(firstLineTop(doc, next), pageHeight)) {
                QTextBlockFormat format;
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(block).mergeBlockFormat(format);
                layOutWhole(doc);
                moved = true;
                break; // the layout below has changed
            }
        }
        if (!moved) {
            return;
        }
    }
}

struct ContentsEntry {
    int level = 0;
    QString text;
    int page = 0; // counted from 1 on the first page of the chapters
};

std::vector<ContentsEntry> contents(const QTextDocument& doc) {
    std::vector<ContentsEntry> entries;
    const qreal pageHeight = doc.pageSize().height();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 1 || level == 2) {
            entries.push_back({level, block.text(), pageAt(firstLineTop(doc, block), pageHeight) + 1});
        }
    }
    return entries;
}

QFont pointFont(const QString& family, qreal points, bool bold = false) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

class ManualPrinter {
public:
    ManualPrinter(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter) {}

    qreal width() const { return writer_.width(); }
    qreal height() const { return writer_.height(); }
    qreal millimetres(qreal mm) const { return mm / 25.4 * kResolution; }

    void newPage() {
        if (pages_ > 0) {
            writer_.newPage();
        }
        ++pages_;
    }
    int pages() const { return pages_; }

    void titlePage(const Options& options) {
        newPage();
        const qreal top = height() * 0.28;
        painter_.setPen(QColor(0x2f, 0x4f, 0x2f));
        painter_.setFont(pointFont(kHeadingFamily, 40, true));
        painter_.drawText(QRectF(0, top, width(), millimetres(25)), Qt::AlignLeft | Qt::AlignBottom, options.title);
        painter_.fillRect(QRectF(0, top + millimetres(28), width(), millimetres(1.2)), QColor(0x2f, 0x4f, 0x2f));
        painter_.setFont(pointFont(kHeadingFamily, 20));
        painter_.drawText(QRectF(0, top + millimetres(33), width(), millimetres(15)), Qt::AlignLeft | Qt::AlignTop,
                          options.subtitle);
        painter_.setPen(Qt::black);
        painter_.setFont(pointFont(kBodyFamily, 12));
        painter_.drawText(QRectF(0, top + millimetres(52), width(), millimetres(30)),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                          QStringLiteral("Growth and yield of planted loblolly pine on cut-over, site-prepared "
                                         "land: the desktop application and the command line"));
    }

    // The contents, on as many pages as they take; answers that count.
    int contentsPages(const std::vector<ContentsEntry>& entries, int firstChapterPage, bool draw) {
        int pages = 0;
        qreal y = 0;
        const QFont chapterFont = pointFont(kHeadingFamily, 11, true);
        const QFont sectionFont = pointFont(kBodyFamily, 10);
        const qreal indent = millimetres(7);
        auto startPage = [&] {
            ++pages;
            if (draw) {
                newPage();
            }
            y = 0;
            if (pages == 1) {
                if (draw) {
                    painter_.setFont(pointFont(kHeadingFamily, kHeadingPoints[0], true));
                    painter_.drawText(QRectF(0, 0, width(), millimetres(12)), Qt::AlignLeft | Qt::AlignTop,
                                      QStringLiteral("Contents"));
                }
                y = millimetres(18);
            }
        };
        startPage();
        for (const ContentsEntry& entry : entries) {
            const QFont& font = entry.level == 1 ? chapterFont : sectionFont;
            const qreal lineHeight = QFontMetricsF(font, &writer_).height() * (entry.level == 1 ? 1.9 : 1.35);
            if (y + lineHeight > height() - millimetres(kFooterMillimetres)) {
                startPage();
            }
            if (draw) {
                painter_.setFont(font);
                const qreal left = entry.level == 1 ? 0 : indent;
                const QRectF line(left, y, width() - left, lineHeight);
                const QString number = QString::number(entry.page + firstChapterPage - 1);
                const qreal numberWidth = QFontMetricsF(font, &writer_).horizontalAdvance(number);
                const QString text = QFontMetricsF(font, &writer_)
                                         .elidedText(entry.text, Qt::ElideRight, line.width() - numberWidth * 3);
                painter_.drawText(line, Qt::AlignLeft | Qt::AlignBottom, text);
                painter_.drawText(line, Qt::AlignRight | Qt::AlignBottom, number);
            }
            y += lineHeight;
        }
        return pages;
    }

    // One page of the laid-out chapters and its footer.
    void chapterPage(QTextDocument& doc, int index, int number, const QString& footerText) {
        newPage();
        const qreal pageHeight = doc.pageSize().height();
        painter_.save();
        painter_.scale(kResolution / kLayoutDpi, kResolution / kLayoutDpi);
        painter_.translate(0, -index * pageHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, index * pageHeight, doc.pageSize().width(), pageHeight);
        painter_.setClipRect(context.clip);
        doc.documentLayout()->draw(&painter_, context);
        painter_.restore();

        const qreal footerTop = height() - millimetres(kFooterMillimetres) * 0.6;
        painter_.setPen(QPen(QColor(0x99, 0x99, 0x99), millimetres(0.2)));
        painter_.drawLine(QPointF(0, footerTop), QPointF(width(), footerTop));
        painter_.setPen(QColor(0x44, 0x44, 0x44));
        painter_.setFont(pointFont(kHeadingFamily, 8));
        const QRectF band(0, footerTop, width(), height() - footerTop);
        painter_.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, footerText);
        painter_.drawText(band, Qt::AlignRight | Qt::AlignVCenter, QString::number(number));
    }

private:
    QPdfWriter& writer_;
    QPainter& painter_;
    int pages_ = 0;
};

bool parseArguments(const QStringList& arguments, Options& options) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if ((argument == QLatin1String("-o") || argument == QLatin1String("--output")) && hasValue) {
            options.output = arguments[++i];
        } else if (argument == QLatin1String("-I") && hasValue) {
            options.searchDirs.append(arguments[++i]);
        } else if (argument == QLatin1String("--title") && hasValue) {
            options.title = arguments[++i];
        } else if (argument == QLatin1String("--subtitle") && hasValue) {
            options.subtitle = arguments[++i];
        } else if (argument.startsWith(QLatin1Char('-'))) {
            return false;
        } else {
            options.chapters.append(argument);
        }
    }
    return !options.output.isEmpty() && !options.chapters.isEmpty();
}

int makeManual(const Options& options) {
    QString text;
    QStringList imageDirs;
    if (!readChapters(options, text, imageDirs)) {
        return kExitFailed;
    }

    // Written beside the target and renamed into place: a failed run leaves the last manual as it was.
    const QString partial = options.output + QStringLiteral(".part");
    QPdfWriter writer(partial);
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                          QPageLayout::Millimeter);
    writer.setTitle(options.title + QLatin1Char(' ') + options.subtitle);
    writer.setCreator(QStringLiteral("grovex-make-manual"));

    ManualDocument doc(imageDirs);
    doc.setDefaultFont(pointFont(kBodyFamily, kBodyPoints));
    QTextOption textOption = doc.defaultTextOption();
    textOption.setUseDesignMetrics(true); // positions as the PDF's glyphs need them, not as a screen hints them
    doc.setDefaultTextOption(textOption);
    doc.setDocumentMargin(0);
    doc.setMarkdown(text, QTextDocument::MarkdownDialectGitHub);

    // The layout's page: the PDF's text area less the footer, in layout pixels.
    const qreal toLayout = kLayoutDpi / kResolution;
    const qreal footer = kFooterMillimetres / 25.4 * kResolution;
    const QSizeF page(writer.width() * toLayout, (writer.height() - footer) * toLayout);
    style(doc);
    fitImages(doc, page.width());
    doc.setPageSize(page);
    if (!doc.missing().isEmpty()) {
        fail(QStringLiteral("images not found: %1").arg(doc.missing().join(QStringLiteral(", "))));
        return kExitFailed;
    }
    layOutWhole(doc);
    keepHeadingsWithNext(doc);
    const std::vector<ContentsEntry> entries = contents(doc);

    QPainter painter;
    if (!painter.begin(&writer)) {
        fail(QStringLiteral("cannot write %1").arg(partial));
        return kExitFailed;
    }
    painter.setRenderHint(QPainter::LosslessImageRendering); // sharp pictures: no JPEG for the screenshots
    ManualPrinter printer(writer, painter);
    printer.titlePage(options);
    const int firstChapterPage = 1;
    printer.contentsPages(entries, firstChapterPage, true);
    const int chapterPages = doc.pageCount();
    for (int chapterPage = 0; chapterPage < chapterPages; ++chapterPage) {
        printer.chapterPage(doc, chapterPage, firstChapterPage + chapterPage,
                            options.title + QLatin1Char(' ') + options.subtitle);
    }
    const int total = printer.pages();
    if (!painter.end()) {
        fail(QStringLiteral("cannot write %1").arg(partial));
        return kExitFailed;
    }
    QFile::remove(options.output);
    if (!QFile::rename(partial, options.output)) {
        fail(QStringLiteral("cannot rename %1 to %2").arg(partial, options.output));
        return kExitFailed;
    }
    std::printf("%s: %d pages\n", qPrintable(options.output), total);
    return kExitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    grovex::tools::runOffscreen();
    QGuiApplication app(argc, argv);
    Options options;
    if (!parseArguments(QGuiApplication::arguments(), options)) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    return makeManual(options);
}
