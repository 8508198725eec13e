#include "ui/CHelpDlg.h"

#include "game/HelpText.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QVariant>

#include <algorithm>

namespace vostrel {

namespace {

QString Html(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

QString HelpHtml(const std::vector<HelpSection>& help) {
    QString html;
    for (const HelpSection& s : help) {
        html += QStringLiteral("<h3>%1</h3>").arg(Html(s.title));
        for (const std::string& p : s.paragraphs) {
            // Examples stand indented under the rule they show.
            const bool example = std::any_of(s.examples.begin(), s.examples.end(),
                                             [&p](const HelpExample& e) { return e.text == p; });
            html += (example ? QStringLiteral("<p style=\"margin-left:2em\">%1</p>")
                             : QStringLiteral("<p>%1</p>"))
                        .arg(Html(p));
        }
        if (!s.rules.empty()) {
            html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">");
            for (const HelpRule& r : s.rules) {
                const QString points =
                    r.points > 0 ? QStringLiteral("+%1").arg(r.points) : QString::number(r.points);
                html += QStringLiteral("<tr><td align=\"right\">%1</td><td>%2</td></tr>")
                            .arg(points, Html(r.text));
            }
            html += QStringLiteral("</table>");
        }
        for (const std::string& p : s.notes) {
            html += QStringLiteral("<p>%1</p>").arg(Html(p));
        }
    }
    return html;
}

constexpr char kSettingsPath[] = "vostrelHelpSettingsPath";

// The settings file of this run, set on the window that owns `w`.
std::string SettingsPathOf(QWidget* w) {
    for (QWidget* p = w; p != nullptr; p = p->parentWidget()) {
        if (const QVariant path = p->property(kSettingsPath); path.isValid()) {
            return path.toByteArray().toStdString();
        }
    }
    return {};
}

} // namespace

CHelpDlg::CHelpDlg(const std::string& settingsPath, QWidget* parent) : QDialog(parent) {
    //: Title of the help window (F1).
    setWindowTitle(tr("Vostrel のヘルプ"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    // A read-only text, not a browser: a reader takes a browser for a label and reads none of
    // it, while a text it reads line by line from where the cursor stands, the start.
    browser_ = new QTextEdit(this);
    browser_->setAccessibleName(windowTitle());
    browser_->setReadOnly(true);
    browser_->setHtml(HelpHtml(BuildHelp(settingsPath)));
    // Read from the start, line by line with the arrow keys as well as by pages.
    browser_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    // Wide and tall enough for whole sections, yet inside the screen's free area with room for
    // the window manager's frame, whatever the scale and the font: the text scrolls instead.
    const QFontMetrics fm(font());
    QSize size(fm.averageCharWidth() * 72, fm.lineSpacing() * 34);
    if (const QScreen* screen =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int frame = fm.lineSpacing() * 2;
        size = size.boundedTo(QSize(area.width() - frame, area.height() - 2 * frame));
    }
    resize(size);
    browser_->setFocus();
}

void CHelpDlg::SetSettingsPath(QWidget* window, const std::string& settingsPath) {
    window->setProperty(kSettingsPath, QByteArray::fromStdString(settingsPath));
}

CHelpDlg* CHelpDlg::Show(QWidget* from) {
    QWidget* owner = from != nullptr ? from->window() : nullptr;
    CHelpDlg* help = owner != nullptr
                         ? owner->findChild<CHelpDlg*>(QString(), Qt::FindDirectChildrenOnly)
                         : nullptr;
    if (help == nullptr) {
        help = new CHelpDlg(SettingsPathOf(owner), owner);
    }
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

void CHelpDlg::InstallKey(QDialog* dialog) {
    auto* key = new QShortcut(QKeySequence::HelpContents, dialog);
    QObject::connect(key, &QShortcut::activated, dialog, [dialog] { Show(dialog); });
}

} // namespace vostrel
