// grovex-render-icons OUTDIR: writes the application icon as the files an installation puts in the desktop's
// icon theme: OUTDIR/<N>x<N>/apps/grovex.png for the usual sizes and OUTDIR/scalable/apps/grovex.svg, all painted by
// the same code as the icon the running program shows.

#include "qt/icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

bool writePng(const QString& folder, int size) {
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    grovex::paintApplicationIcon(p, size);
    p.end();
    return QDir().mkpath(dir) && image.save(dir + QStringLiteral("/grovex.png"));
}

bool writeSvg(const QString& folder) {
    const QString dir = folder + QStringLiteral("/scalable/apps");
    if (!QDir().mkpath(dir)) {
        return false;
    }
    QSvgGenerator svg;
    svg.setFileName(dir + QStringLiteral("/grovex.svg"));
    svg.setSize(QSize(64, 64));
    svg.setViewBox(QRect(0, 0, 64, 64));
    svg.setTitle(QStringLiteral("GROVEX"));
    QPainter p(&svg);
    grovex::paintApplicationIcon(p, 64);
    return p.end();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: grovex-render-icons OUTDIR\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (!writePng(folder, size)) {
            std::fprintf(stderr, "grovex-render-icons: cannot write the %dx%d icon in %s\n", size, size, argv[1]);
            return 1;
        }
    }
    if (!writeSvg(folder)) {
        std::fprintf(stderr, "grovex-render-icons: cannot write the scalable icon in %s\n", argv[1]);
        return 1;
    }
    return 0;
}
