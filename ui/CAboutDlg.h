#pragma once
// The version dialog: icon, product name, version, copyright and web address.

#include <QDialog>

class QLabel;
class QPushButton;

namespace vostrel {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // parent owns the dialog while it runs (the window that opened it), or nullptr.
    explicit CAboutDlg(QWidget* parent = nullptr);

    static constexpr int kIdProduct = 1054;
    static constexpr int kIdVersion = 1055;
    static constexpr int kIdUrl = 1056;
    // The labels and the button, for tests.
    QLabel* Label(int id) const;
    QPushButton* OkButton() const { return ok_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QLabel* product_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* url_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace vostrel
