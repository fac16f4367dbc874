#pragma once
// The "Charts" pane of the main window: the stand development chart of the active simulation, the stand
// values to show and the other simulations to compare with it. The chart itself is GUI-free (StandChart);
// this pane only shows it, and copies, drags, prints and exports its image.

#include "base/file_io.h"
#include "charts/stand_chart.h"

#include <QDockWidget>
#include <QImage>
#include <QWidget>

#include <set>
#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPaintDevice;
class QPrinter;

namespace grovex {

class CGROVEXDoc;

enum class ChartFileFormat { Png, Svg, Pdf };
// The format a file name asks for by its extension: ".svg", ".pdf", otherwise PNG.
ChartFileFormat chartFileFormatFor(const std::string& path);
// The chart laid out for `size` and drawn onto a device of that size (the metrics of the device's fonts).
void renderChart(const charts::StandChart& chart, QPaintDevice& device, const QSize& size);
QImage chartImage(const charts::StandChart& chart, const QSize& size);
// The chart's file in the format, `size` in pixels at 96 per inch.
std::vector<uint8_t> chartFileBytes(const charts::StandChart& chart, ChartFileFormat format, const QSize& size);
// Writes the chart through the atomic writer: the file is complete or as it was before.
IoStatus exportChart(const charts::StandChart& chart, const std::string& path, const QSize& size);
// Prints the chart on one page, as the export draws it: kChartPageSize, fitted into the page's printable area.
inline const QSize kChartPageSize{1000, 700};
void printChartPage(const charts::StandChart& chart, QPrinter& printer);

class ChartWidget : public QWidget {
    Q_OBJECT

public:
    explicit ChartWidget(QWidget* parent = nullptr);
    charts::StandChart& chart() { return chart_; }
    const charts::StandChart& chart() const { return chart_; }
    // Lays the chart out again after its data or values changed, and repaints.
    void chartChanged();
    void copyToClipboard() const;
    // Print and Print Preview with the printer the results are printed on.
    void print();
    void printPreview();

signals:
    void hovered(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void layoutChart();
    void startDrag();

    charts::StandChart chart_;
    QPoint pressedAt_;
    bool pressed_ = false;
};

class ChartDock : public QDockWidget {
    Q_OBJECT

public:
    // One simulation the pane can show: its document and the name it is shown under.
    struct Simulation {
        const CGROVEXDoc* document = nullptr;
        std::string name;
    };

    explicit ChartDock(QWidget* parent = nullptr);

    // The chart of `active` (null: none), with the compared ones among `others` after it.
    void refresh(const Simulation& active, const std::vector<Simulation>& others);
    ChartWidget& chartWidget() { return *chart_; }
    // The stand values shown, and whether a simulation is compared; the list boxes change both.
    void setValueShown(StandValue value, bool shown);
    void setCompared(const CGROVEXDoc* document, bool compared);

signals:
    // The choices changed: the main window calls refresh.
    void choicesChanged();
    void exportRequested();

private:
    void fillValues(const CGROVEXDoc* active);
    void fillOthers(const std::vector<Simulation>& others);
    void valueItemChanged(QListWidgetItem* item);
    void otherItemChanged(QListWidgetItem* item);

    QListWidget* values_ = nullptr;
    QListWidget* others_ = nullptr;
    ChartWidget* chart_ = nullptr;
    std::vector<StandValue> shown_;
    std::set<const CGROVEXDoc*> compared_;
    bool filling_ = false;
};

} // namespace grovex
