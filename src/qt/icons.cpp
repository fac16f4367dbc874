#include "qt/icons.h"

#include "app/commands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include <functional>

namespace grovex {
namespace {

using namespace appcmd;
using namespace cmd;
using Drawing = std::function<void(QPainter&)>;

const QColor kNeedles(0x2e, 0x7d, 0x32);
const QColor kTrunk(0x6d, 0x4c, 0x41);
const QColor kInk(0x37, 0x47, 0x4f);
const QColor kArrow(0x15, 0x65, 0xc0);

// Draws on a 16 by 16 grid, at 16 and 32 pixels.
QIcon drawnIcon(const Drawing& draw) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void drawPine(QPainter& p, QPointF base, qreal height) {
    const qreal w = height * 0.62;
    p.setPen(Qt::NoPen);
    p.setBrush(kTrunk);
    p.drawRect(QRectF(base.x() - height * 0.08, base.y() - height * 0.2, height * 0.16, height * 0.2));
    p.setBrush(kNeedles);
    for (int tier = 0; tier < 3; ++tier) {
        const qreal bottom = base.y() - height * (0.15 + tier * 0.25);
        const qreal half = w / 2 * (1.0 - tier * 0.22);
        QPainterPath path;
        path.moveTo(base.x() - half, bottom);
        path.lineTo(base.x() + half, bottom);
        path.lineTo(base.x(), bottom - height * 0.42);
        path.closeSubpath();
        p.drawPath(path);
    }
}

void drawArrowRight(QPainter& p, QPointF from, qreal length) {
    p.setPen(QPen(kArrow, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tip(from.x() + length, from.y());
    p.drawLine(from, tip);
    p.drawLine(tip, QPointF(tip.x() - 3, tip.y() - 3));
    p.drawLine(tip, QPointF(tip.x() - 3, tip.y() + 3));
}

void drawGrid(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setBrush(QColor(0xcf, 0xd8, 0xdc));
    p.drawRect(QRectF(r.left(), r.top(), r.width(), 3));
    for (qreal y = r.top() + 3; y < r.bottom(); y += 3) {
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    p.drawLine(QPointF(r.left() + r.width() / 3, r.top()), QPointF(r.left() + r.width() / 3, r.bottom()));
}

void drawDisk(QPainter& p, QPointF at, qreal size) {
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(0x54, 0x6e, 0x7a));
    p.drawRoundedRect(QRectF(at.x(), at.y(), size, size), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(at.x() + size * 0.2, at.y() + 0.5, size * 0.6, size * 0.4));
}

void drawPage(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kInk, 0.9));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(0x90, 0xa4, 0xae), 0.8));
    for (qreal y = r.top() + 2.5; y < r.bottom() - 1; y += 2) {
        p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
    }
}

QIcon drawnToolbarIcon(int id) {
    switch (id) {
    case kEditCopy:
        return drawnIcon([](QPainter& p) {
            drawPage(p, QRectF(1.5, 1.5, 8, 10));
            drawPage(p, QRectF(6.5, 4.5, 8, 10));
        });
    case kFilePrint:
        return drawnIcon([](QPainter& p) {
            drawPage(p, QRectF(4.5, 1.5, 7, 6));
            p.setPen(QPen(kInk, 0.9));
            p.setBrush(QColor(0x78, 0x90, 0x9c));
            p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 10.5, 7, 4));
            p.setBrush(QColor(0x66, 0xbb, 0x6a));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(12.5, 8.5), 0.8, 0.8);
        });
    case kHelpTopics:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(QColor(0x0d, 0x47, 0xa1), 1));
            p.setBrush(kArrow);
            p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
            QFont font = p.font();
            font.setBold(true);
            font.setPixelSize(11);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
        });
    case kFileSaveAll:
        return drawnIcon([](QPainter& p) {
            drawDisk(p, {1, 1}, 10);
            drawDisk(p, {5, 5}, 10);
        });
    case kInitializeAndProject:
        return drawnIcon([](QPainter& p) {
            drawPine(p, {4.5, 15}, 9);
            drawArrowRight(p, {8, 8}, 7);
            drawPine(p, {12, 15}, 14);
        });
    case kMidrotationAndProject:
        return drawnIcon([](QPainter& p) {
            drawPine(p, {4, 15}, 13);
            drawPine(p, {12, 15}, 13);
            p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(1, 4), QPointF(7, 10));
            p.drawLine(QPointF(7, 4), QPointF(1, 10));
        });
    case kProjectToNextTarget:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 1.4));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(11, 8), 4.2, 4.2);
            p.setBrush(QColor(0xc6, 0x28, 0x28));
            p.drawEllipse(QPointF(11, 8), 1.3, 1.3);
            drawArrowRight(p, {1, 8}, 8);
        });
    case kToolbarTreeList:
        return drawnIcon([](QPainter& p) {
            drawGrid(p, QRectF(0.5, 2.5, 10, 12));
            drawPine(p, {12.5, 15}, 11);
        });
    case kChangeSimulationTreeList:
        return drawnIcon([](QPainter& p) {
            drawGrid(p, QRectF(0.5, 4.5, 9, 10));
            p.setPen(QPen(kArrow, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(6, 1, 9, 9), 180 * 16, -180 * 16);
            p.drawLine(QPointF(15, 5.5), QPointF(13, 3.5));
            p.drawLine(QPointF(15, 5.5), QPointF(16, 3));
        });
    case kStandValue:
        return drawnIcon([](QPainter& p) {
            drawPine(p, {4.5, 15}, 12);
            p.setPen(QPen(QColor(0x8d, 0x6e, 0x00), 0.9));
            p.setBrush(QColor(0xfb, 0xc0, 0x2d));
            p.drawEllipse(QPointF(11, 9.5), 4.5, 4.5);
            QFont font = p.font();
            font.setBold(true);
            font.setPixelSize(8);
            p.setFont(font);
            p.setPen(QColor(0x5d, 0x40, 0x37));
            p.drawText(QRectF(6.5, 5, 9, 9), Qt::AlignCenter, QStringLiteral("$"));
        });
    case kRecordMacro:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(QColor(0x8e, 0x00, 0x00), 1));
            p.setBrush(QColor(0xe5, 0x39, 0x35));
            p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
        });
    case kPlayMacro:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(QColor(0x43, 0xa0, 0x47));
            p.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(14, 8), QPointF(4, 14)}));
        });
    case kStopMacro:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(0x60, 0x7d, 0x8b));
            p.drawRoundedRect(QRectF(3, 3, 10, 10), 1.5, 1.5);
        });
    case kStepMacro:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(QColor(0x43, 0xa0, 0x47));
            p.drawPolygon(QPolygonF({QPointF(2, 2), QPointF(11, 8), QPointF(2, 14)}));
            p.setBrush(kInk);
            p.drawRect(QRectF(12, 2, 2.5, 12));
        });
    case kViewCharts:
        return drawnIcon([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.drawLine(QPointF(2, 1.5), QPointF(2, 14));
            p.drawLine(QPointF(2, 14), QPointF(15, 14));
            p.setPen(QPen(QColor(0x1f, 0x77, 0xb4), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(3.5, 12), QPointF(7, 7), QPointF(9, 4), QPointF(9, 9), QPointF(14, 5)}));
        });
    default:
        return {};
    }
}

// A button that shows the theme's icon when there is one; otherwise Qt's standard image, or the drawn one
// where Qt has none (SP_CustomBase).
struct StandardButton {
    int id;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

const StandardButton kStandardButtons[] = {
    {kFileNew, "document-new", QStyle::SP_FileIcon},
    {kReset, "view-refresh", QStyle::SP_BrowserReload},
    {kFileOpen, "document-open", QStyle::SP_DialogOpenButton},
    {kFileSave, "document-save", QStyle::SP_DialogSaveButton},
    {kEditCopy, "edit-copy", QStyle::SP_CustomBase},
    {kFilePrint, "document-print", QStyle::SP_CustomBase},
};

} // namespace

void paintApplicationIcon(QPainter& p, qreal size) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xf5, 0xe9));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    drawPine(p, {8, 15}, 14);
    p.restore();
}

QIcon applicationIcon() {
    static const QIcon icon = [] {
        QIcon result;
        for (const int size : {16, 32, 48, 64}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            paintApplicationIcon(p, size);
            p.end();
            result.addPixmap(pixmap);
        }
        return result;
    }();
    return icon;
}

QIcon toolbarIcon(int id, const QStyle& style) {
    for (const StandardButton& button : kStandardButtons) {
        if (button.id == id) {
            QIcon themed = QIcon::fromTheme(QString::fromLatin1(button.themeName));
            if (!themed.isNull()) {
                return themed;
            }
            return button.fallback == QStyle::SP_CustomBase ? drawnToolbarIcon(id)
                                                            : style.standardIcon(button.fallback);
        }
    }
    return drawnToolbarIcon(id);
}

} // namespace grovex
