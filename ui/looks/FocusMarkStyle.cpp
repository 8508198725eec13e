#include "ui/looks/FocusMarkStyle.h"

#include "ui/looks/Contrast.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace vostrel {

FocusMarkStyle::FocusMarkStyle(QStyle* base) : QProxyStyle(base) {}

void FocusMarkStyle::Install() {
    if (qobject_cast<FocusMarkStyle*>(QApplication::style()) != nullptr) {
        return;
    }
    // A fresh copy of the style in use: the application deletes the one it had.
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    if (base != nullptr) {
        QApplication::setStyle(new FocusMarkStyle(base));
    }
}

QColor FocusMarkStyle::MarkFor(const QPalette& palette, QPalette::ColorRole face) {
    // A style shades a face (Fusion lightens the top of a button): the lighter and the darker
    // end of the shading count as what surrounds the frame too.
    const QColor inside = palette.color(QPalette::Active, face);
    return MarkColor(palette.color(QPalette::Active, QPalette::Highlight),
                     {palette.color(QPalette::Active, QPalette::Window), inside,
                      inside.lighter(150), inside.darker(120)});
}

void FocusMarkStyle::DrawMark(QPainter* p, const QRect& rect, const QColor& color, int width) {
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(Qt::NoPen);
    p->setBrush(color);
    const QRect r = rect;
    p->drawRect(QRect(r.left(), r.top(), r.width(), width));
    p->drawRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width));
    p->drawRect(QRect(r.left(), r.top(), width, r.height()));
    p->drawRect(QRect(r.right() - width + 1, r.top(), width, r.height()));
    p->restore();
}

void FocusMarkStyle::drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                                   const QWidget* w) const {
    switch (pe) {
    case PE_PanelButtonCommand:
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(opt)) {
            QStyleOptionButton plain = *button;
            plain.state &= ~State_HasFocus;
            plain.features &= ~QStyleOptionButton::DefaultButton;
            QProxyStyle::drawPrimitive(pe, &plain, p, w);
            if ((button->state & State_HasFocus) != 0) {
                DrawMark(p, button->rect, MarkFor(button->palette, QPalette::Button), 2);
            }
            return;
        }
        break;
    case PE_FrameLineEdit:
        if ((opt->state & State_HasFocus) != 0) {
            QStyleOption plain = *opt;
            plain.state &= ~State_HasFocus;
            QProxyStyle::drawPrimitive(pe, &plain, p, w);
            DrawMark(p, opt->rect, MarkFor(opt->palette, QPalette::Base), 2);
            return;
        }
        break;
    case PE_FrameFocusRect:
        // Shown after a key moved the focus, as the base style shows it; a push button's
        // focus is its frame already.
        if ((opt->state & State_KeyboardFocusChange) != 0 &&
            qstyleoption_cast<const QStyleOptionFocusRect*>(opt) != nullptr &&
            (w == nullptr || !w->inherits("QAbstractButton") || w->inherits("QCheckBox") ||
             w->inherits("QRadioButton"))) {
            DrawMark(p, opt->rect, MarkFor(opt->palette, QPalette::Window), 1);
        }
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(pe, opt, p, w);
}

void FocusMarkStyle::drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt,
                                        QPainter* p, const QWidget* w) const {
    if (cc == CC_ComboBox && (opt->state & State_HasFocus) != 0) {
        if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(opt)) {
            QStyleOptionComboBox plain = *combo;
            plain.state &= ~State_HasFocus;
            QProxyStyle::drawComplexControl(cc, &plain, p, w);
            const QPalette::ColorRole face = combo->editable ? QPalette::Base : QPalette::Button;
            DrawMark(p, combo->rect, MarkFor(combo->palette, face), 2);
            return;
        }
    }
    QProxyStyle::drawComplexControl(cc, opt, p, w);
}

} // namespace vostrel
