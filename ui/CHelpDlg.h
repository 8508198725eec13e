#pragma once
// The game's help window: the rules, the points, the settings and the keys, scrollable and
// read by screen readers. It never blocks the window it was opened from; Esc closes it.

#include <QDialog>

#include <string>

class QTextEdit;
class QWidget;

namespace vostrel {

class CHelpDlg : public QDialog {
    Q_OBJECT
public:
    // settingsPath: the file of this run, or empty.
    CHelpDlg(const std::string& settingsPath, QWidget* parent);

    QTextEdit* Browser() const { return browser_; }

    // The file that the help tells of when opened over `window` or over any dialog it owns.
    static void SetSettingsPath(QWidget* window, const std::string& settingsPath);
    // Opens the help over `from` (the window where F1 was pressed), or brings forward the one
    // already open there. It belongs to `from`, so a modal `from` does not block it, and it
    // closes with it.
    static CHelpDlg* Show(QWidget* from);
    // F1 in `dialog` opens the help.
    static void InstallKey(QDialog* dialog);

private:
    QTextEdit* browser_;
};

} // namespace vostrel
