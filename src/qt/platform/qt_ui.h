#pragma once
// Message boxes and file dialogs on QMessageBox and QFileDialog.

#include "base/platform/ui.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace grovex {

// "Desc (*.x)|*.x|All Files (*.*)|*.*||" as Qt name filters: one entry per description/pattern pair, the
// pattern (several separated by ";") in the trailing parentheses, "*.*" widened to "*" so that names
// without a dot are listed too.
QStringList toQtNameFilters(std::string_view filter);

// The path with the extension (".gvx" or "gvx") appended when its file name has none.
QString withDefaultExtension(const QString& path, std::string_view extension);

class QtUi : public Ui {
public:
    // Boxes and dialogs are modal to `parent`, or to the active window when it is null.
    explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}

    Answer message(std::string_view text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   std::string_view caption = {}) override;
    std::optional<std::string> openFileName(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override;

    // The caption of a box shown without one.
    static constexpr const char* kApplicationTitle = "GROVEX";

private:
    QWidget* dialogParent() const;
    std::optional<std::string> runFileDialog(const FileDialogRequest& request, bool save);

    QWidget* parent_;
};

} // namespace grovex
