#include "qt/chart_dock.h"

#include "qt/platform/qt_canvas.h"
#include "qt/platform/qt_text.h"
#include "qt/print_support.h"
#include "results/document.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSplitter>
#include <QSvgGenerator>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace grovex {
namespace {

using charts::StandChart;

// The chart's text: a proportional face that reads well in small sizes.
LogFont chartFont() {
    LogFont font;
    std::memset(font.faceName, 0, sizeof font.faceName);
    std::strcpy(font.faceName, "DejaVu Sans");
    font.height = 13;
    return font;
}

constexpr double kScreenDpi = 96;

std::string lowerExtension(const std::string& path) {
    const size_t dot = path.find_last_of("./");
    std::string extension = dot == std::string::npos || path[dot] != '.' ? "" : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension;
}

std::vector<uint8_t> toBytes(const QByteArray& data) {
    return std::vector<uint8_t>(data.begin(), data.end());
}

} // namespace

ChartFileFormat chartFileFormatFor(const std::string& path) {
    const std::string extension = lowerExtension(path);
    return extension == ".svg"   ? ChartFileFormat::Svg
           : extension == ".pdf" ? ChartFileFormat::Pdf
                                 : ChartFileFormat::Png;
}

void renderChart(const StandChart& chart, QPaintDevice& device, const QSize& size) {
    StandChart copy = chart;
    copy.layout(QtFontMetricsSource(&device), {0, 0, size.width(), size.height()});
    QPainter painter(&device);
    QtCanvas canvas(painter, QRect(QPoint(0, 0), size));
    copy.paint(canvas);
}

QImage chartImage(const StandChart& chart, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    renderChart(chart, image, size);
    return image;
}

std::vector<uint8_t> chartFileBytes(const StandChart& chart, ChartFileFormat format, const QSize& size) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case ChartFileFormat::Png:
        chartImage(chart, size).save(&buffer, "PNG");
        break;
    case ChartFileFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(static_cast<int>(kScreenDpi));
        svg.setTitle(QStringLiteral("GROVEX stand development"));
        renderChart(chart, svg, size);
        break;
    }
    case ChartFileFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(static_cast<int>(kScreenDpi));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(
            QPageSize(QSizeF(size.width() * 72.0 / kScreenDpi, size.height() * 72.0 / kScreenDpi), QPageSize::Point));
        pdf.setTitle(QStringLiteral("GROVEX stand development"));
        renderChart(chart, pdf, size);
        break;
    }
    }
    buffer.close();
    return toBytes(data);
}

IoStatus exportChart(const StandChart& chart, const std::string& path, const QSize& size) {
    return writeFileAtomically(path, chartFileBytes(chart, chartFileFormatFor(path), size));
}

void printChartPage(const StandChart& chart, QPrinter& printer) {
    // Drawn at twice the export's pixels, so that lines and text stay sharp on paper.
    QImage image(kChartPageSize * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::white);
    renderChart(chart, image, kChartPageSize);
    // The painter of a printer starts at the top left corner of the printable area.
    const QSizeF area = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const QSizeF fitted = QSizeF(kChartPageSize).scaled(area, Qt::KeepAspectRatio);
    QPainter painter(&printer);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), fitted), image);
}

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    chart_.setFont(chartFont());
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(240, 180);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartWidget::chartChanged() {
    layoutChart();
    update();
}

void ChartWidget::layoutChart() {
    chart_.layout(QtFontMetricsSource::screen(), {0, 0, width(), height()});
}

void ChartWidget::copyToClipboard() const {
    QApplication::clipboard()->setImage(chartImage(chart_, size()));
}

// Ctrl+C copies the chart while it has the focus, before the main window's Copy sees the key.
bool ChartWidget::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void ChartWidget::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChartWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QtCanvas canvas(painter, event->rect());
    chart_.paint(canvas);
}

void ChartWidget::resizeEvent(QResizeEvent*) {
    layoutChart();
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    pressedAt_ = event->position().toPoint();
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (pressed_ && (event->buttons() & Qt::LeftButton) &&
        (at - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
        pressed_ = false;
        startDrag();
        return;
    }
    const std::optional<charts::ChartHit> hit = chart_.hitTest({at.x(), at.y()});
    const QString text = hit ? toQString(hit->text) : QString();
    setToolTip(text);
    if (hit) {
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    } else {
        QToolTip::hideText();
    }
    emit hovered(text);
}

void ChartWidget::startDrag() {
    auto* mime = new QMimeData;
    mime->setImageData(chartImage(chart_, size()));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(QPixmap::fromImage(chartImage(chart_, size()).scaledToWidth(160, Qt::SmoothTransformation)));
    drag->exec(Qt::CopyAction);
}

void ChartWidget::print() {
    QPrintDialog dialog(&sharedPrinter(), this);
    if (dialog.exec() == QDialog::Accepted) {
        printChartPage(chart_, sharedPrinter());
    }
}

void ChartWidget::printPreview() {
    QPrintPreviewDialog preview(&sharedPrinter(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { printChartPage(chart_, *printer); });
    preview.exec();
}

void ChartWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Copy Chart"), this, &ChartWidget::copyToClipboard);
    menu.addAction(QStringLiteral("&Print Chart..."), this, &ChartWidget::print);
    menu.addAction(QStringLiteral("Print Pre&view..."), this, &ChartWidget::printPreview);
    ChartDock* dock = nullptr;
    for (QWidget* up = parentWidget(); up != nullptr && dock == nullptr; up = up->parentWidget()) {
        dock = qobject_cast<ChartDock*>(up);
    }
    if (dock != nullptr) {
        menu.addAction(QStringLiteral("&Export Chart..."), dock, &ChartDock::exportRequested);
    }
    menu.exec(event->globalPos());
}

ChartDock::ChartDock(QWidget* parent) : QDockWidget(QStringLiteral("Charts"), parent) {
    setObjectName(QStringLiteral("Charts"));
    shown_ = {StandValue::TreesPerAcre, StandValue::BasalArea, StandValue::QuadraticMeanDbh,
              StandValue::DominantHeight};

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(4, 4, 4, 4);
    sideLayout->addWidget(new QLabel(QStringLiteral("Stand values:")));
    values_ = new QListWidget;
    values_->setMinimumWidth(220);
    sideLayout->addWidget(values_, 3);
    sideLayout->addWidget(new QLabel(QStringLiteral("Compare with:")));
    others_ = new QListWidget;
    sideLayout->addWidget(others_, 1);

    chart_ = new ChartWidget;
    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(chart_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 600});
    splitter->setCollapsible(1, false);
    setWidget(splitter);

    connect(values_, &QListWidget::itemChanged, this, &ChartDock::valueItemChanged);
    connect(others_, &QListWidget::itemChanged, this, &ChartDock::otherItemChanged);
}

void ChartDock::refresh(const Simulation& active, const std::vector<Simulation>& others) {
    filling_ = true;
    fillValues(active.document);
    fillOthers(others);
    filling_ = false;

    std::vector<charts::SimulationSeries> series;
    if (active.document != nullptr) {
        series.push_back(charts::simulationSeries(*active.document, active.name));
    }
    for (const Simulation& other : others) {
        if (compared_.count(other.document) != 0) {
            series.push_back(charts::simulationSeries(*other.document, other.name));
        }
    }
    std::vector<StandValue> values;
    for (size_t v = 0; v < kStandValueCount; ++v) {
        if (std::find(shown_.begin(), shown_.end(), static_cast<StandValue>(v)) != shown_.end()) {
            values.push_back(static_cast<StandValue>(v));
        }
    }
    chart_->chart().setSimulations(std::move(series));
    chart_->chart().setValues(std::move(values));
    chart_->chartChanged();
}

void ChartDock::fillValues(const CGROVEXDoc* active) {
    static const GrowthModel noModel;
    const GrowthModel& model = active != nullptr ? active->model : noModel;
    if (values_->count() != static_cast<int>(kStandValueCount)) {
        values_->clear();
        for (size_t v = 0; v < kStandValueCount; ++v) {
            auto* item = new QListWidgetItem(values_);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        }
    }
    for (size_t v = 0; v < kStandValueCount; ++v) {
        const auto value = static_cast<StandValue>(v);
        const charts::ValueInfo info = charts::valueInfo(value, model);
        QListWidgetItem* item = values_->item(static_cast<int>(v));
        item->setText(toQString(info.title + " (" + info.unit + ")"));
        const bool shown = std::find(shown_.begin(), shown_.end(), value) != shown_.end();
        item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
    }
}

void ChartDock::fillOthers(const std::vector<Simulation>& others) {
    others_->clear();
    std::set<const CGROVEXDoc*> present;
    for (const Simulation& other : others) {
        present.insert(other.document);
        auto* item = new QListWidgetItem(toQString(other.name), others_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setData(Qt::UserRole, QVariant::fromValue(other.document));
        item->setCheckState(compared_.count(other.document) != 0 ? Qt::Checked : Qt::Unchecked);
    }
    // A closed simulation is compared no longer; a later one at the same address starts unchecked.
    std::erase_if(compared_, [&present](const CGROVEXDoc* doc) { return present.count(doc) == 0; });
}

void ChartDock::setValueShown(StandValue value, bool shown) {
    std::erase(shown_, value);
    if (shown) {
        shown_.push_back(value);
    }
    emit choicesChanged();
}

void ChartDock::setCompared(const CGROVEXDoc* document, bool compared) {
    if (compared) {
        compared_.insert(document);
    } else {
        compared_.erase(document);
    }
    emit choicesChanged();
}

void ChartDock::valueItemChanged(QListWidgetItem* item) {
    if (!filling_) {
        setValueShown(static_cast<StandValue>(values_->row(item)), item->checkState() == Qt::Checked);
    }
}

void ChartDock::otherItemChanged(QListWidgetItem* item) {
    if (!filling_) {
        const auto* document = item->data(Qt::UserRole).value<const CGROVEXDoc*>();
        setCompared(document, item->checkState() == Qt::Checked);
    }
}

} // namespace grovex
