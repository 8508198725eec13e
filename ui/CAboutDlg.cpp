#include "ui/CAboutDlg.h"

#include "app/Version.h"
#include "ui/CHelpDlg.h"
#include "ui/looks/Contrast.h"
#include "ui/platform/AppIcon.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/DialogUnits.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace vostrel {

namespace {

constexpr Qt::Alignment kTopLeft = Qt::AlignLeft | Qt::AlignTop;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    //: Title of the About window.
    InitDialogWindow(this, tr("バージョン情報"));
    CHelpDlg::InstallKey(this);
    const DialogBaseUnits bu = BaseUnitsOf(font());
    setFixedSize(MapDialogRect(bu, 0, 0, 151, 91).size());

    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceInDialogUnits(icon, bu, 7, 15, 20, 20);

    product_ = MakeStatic(this, QString::fromLatin1(kProductName), kTopLeft);
    PlaceInDialogUnits(product_, bu, 36, 7, 104, 8);
    GrowToLines(product_);

    version_ = MakeStatic(this,
                          QStringLiteral("Ver. %1\n"
                                         "Copyright (C) 2026\n"
                                         "The Vostrel developers")
                              .arg(QString::fromLatin1(kVersion)),
                          kTopLeft);
    version_->setWordWrap(true);
    PlaceInDialogUnits(version_, bu, 37, 18, 107, 23);
    // Three lines of the substituted font are a little taller than the template's box; the
    // box grows into the gap below it rather than cut the last line.
    const int threeLines = 3 * QFontMetrics(font()).lineSpacing();
    if (version_->height() < threeLines) {
        version_->resize(version_->width(), threeLines);
    }

    // No address is shown before the project has one; the line keeps its place.
    const QString homepage = QString::fromUtf8(kHomepage);
    url_ = MakeStatic(this, homepage.isEmpty() ? QString() : QStringLiteral("URL: ") + homepage,
                      kTopLeft);
    PlaceInDialogUnits(url_, bu, 18, 44, 126, 8);
    GrowToLines(url_);
    url_->setVisible(!homepage.isEmpty());

    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setDefault(true);
    PlaceInDialogUnits(ok_, bu, 94, 68, 50, 16);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    ok_->setFocus();
}

QLabel* CAboutDlg::Label(int id) const {
    switch (id) {
    case kIdProduct:
        return product_;
    case kIdVersion:
        return version_;
    case kIdUrl:
        return url_;
    default:
        return nullptr;
    }
}

void CAboutDlg::paintEvent(QPaintEvent* e) {
    QDialog::paintEvent(e);
    QPainter p(this);
    // Black, unless the face is too dark for a black line to show.
    p.setPen(QPen(ReadableColor(Qt::black, palette().color(QPalette::Window)), 1));
    // The end point is excluded, as the original line drawing does.
    p.drawLine(5, 90, 254, 90);
}

} // namespace vostrel
