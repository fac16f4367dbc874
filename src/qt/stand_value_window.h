#pragma once
// The Stand Value window of one simulation: the cash flows and measures of its latest run as text, which
// follows every command on the simulation. It copies and prints that text and chooses the prices file.

#include "app/stand_value.h"
#include "base/text_pages.h"
#include "qt/print_support.h"

#include <QMainWindow>

#include <memory>

class QPlainTextEdit;
class QToolBar;

namespace grovex {

class Clipboard;
class Ui;

class StandValueWindow : public QMainWindow {
    Q_OBJECT

public:
    StandValueWindow(std::shared_ptr<RunRecord> record, PricesChoice& prices, Clipboard& clipboard, Ui& ui,
                     QWidget* parent = nullptr);

    const RunRecord& record() const { return *record_; }
    const StandValueModel& model() const { return model_; }
    QPlainTextEdit& textView() { return *text_; }

    // Values the run again and shows the text when it changed.
    void refresh();
    void choosePrices();
    // The selected text, or all of it when nothing is selected.
    void copy();
    void print();
    void printPreview();

signals:
    // Another prices file was chosen: every Stand Value window values with it.
    void pricesChosen();

private:
    void buildActions();
    void fitToText();

    std::shared_ptr<RunRecord> record_;
    PricesChoice& prices_;
    Clipboard& clipboard_;
    Ui& ui_;
    StandValueModel model_;
    QPlainTextEdit* text_ = nullptr;
    QToolBar* toolBar_ = nullptr;
};

// The window's text as a print job.
class StandValuePrintable : public PrintableView {
public:
    explicit StandValuePrintable(const StandValueModel& model) : model_(model) {}
    PrintPlan beginPrinting(const FontMetricsSource& metrics, const QPaintDevice& device) override;
    void printPage(Canvas& canvas, int page) override;
    void endPrinting() override;

private:
    const StandValueModel& model_;
    std::unique_ptr<TextPages> pages_;
};

} // namespace grovex
