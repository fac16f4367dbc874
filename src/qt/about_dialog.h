#pragma once
// "About GROVEX": the icon, the version, a credit line, OK, and the button that opens the user manual.

#include "app/user_manual.h"

#include <QDialog>

#include <string>

namespace grovex {

class Shell;

// Where Help Topics, F1 and this dialog look for the manual: the application directory, the folder of the
// running program, the documentation folder beside it (an installation or a package), the documentation
// folder of the configured prefix.
UserManualPlaces userManualPlaces(const std::string& appDirectory);

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
