#pragma once
// "About GROVEX": the icon, the version, a credit line, OK, and the button that opens the user manual.

#include <QDialog>

#include <string>

namespace grovex {

class Shell;

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kViewManualId = 1092;
    static constexpr const char* kCreditLine = "Growth and yield of planted loblolly pine";

    AboutDialog(Shell& shell, std::string appDirectory, QWidget* parent = nullptr);

private:
    void viewManual();

    Shell& shell_;
    std::string appDirectory_;
};

} // namespace grovex
