#include "ui/CStaticEx.h"

#include "ui/platform/Contrast.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vostrel {

CStaticEx::CStaticEx(QWidget* parent) : QFrame(parent) {
    // Read once: later palette changes do not reach existing labels.
    const QPalette pal = palette();
    m_textColor = pal.color(QPalette::Active, QPalette::ButtonText);
    m_backColor = pal.color(QPalette::Active, QPalette::Button);
    setFocusPolicy(Qt::NoFocus);
}

void CStaticEx::Create(const QString& text, uint32_t style, const PixelRect& rect, QWidget* parent,
                       int id) {
    if (parent != nullptr && parent != parentWidget()) {
        setParent(parent);
    }
    m_text = text;
    m_id = id;
    m_style = 0;
    ModifyStyle(0, style);
    setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    show();
}

void CStaticEx::SetBackColor(const QColor& color) {
    m_backColor = color;
    update();
}

void CStaticEx::SetWindowText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    update();
}

void CStaticEx::ModifyStyle(uint32_t remove, uint32_t add) {
    m_style = (m_style & ~remove) | add;
    if ((m_style & SS_SUNKEN) != 0) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    update();
}

int CStaticEx::TextFlags(uint32_t style) {
    int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
    // Centre is tested first, so it wins when both bits are set.
    if ((style & SS_CENTER) != 0) {
        flags |= Qt::AlignHCenter;
    } else if ((style & SS_RIGHT) != 0) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    flags |= (style & SS_CENTERIMAGE) != 0 ? Qt::AlignVCenter : Qt::AlignTop;
    return flags;
}

void CStaticEx::paintEvent(QPaintEvent* /*e*/) {
    QPainter p(this);
    const QRect r = contentsRect();
    p.fillRect(r, m_backColor);
    // Enabled or not, the label keeps its own colours.
    p.save();
    p.setClipRect(r);
    p.setFont(font());
    // The fixed backgrounds are light: a theme's light text falls back to black on them.
    p.setPen(ReadableColor(m_textColor, m_backColor));
    p.drawText(r, TextFlags(m_style), m_text);
    p.restore();
    drawFrame(&p);
}

void CStaticEx::mousePressEvent(QMouseEvent* e) {
    if ((m_style & SS_NOTIFY) == 0 || e->button() != Qt::LeftButton) {
        e->ignore(); // the parent sees it as a click on its background
        return;
    }
    e->accept();
    update();
    emit clicked(m_id);
}

void CStaticEx::mouseDoubleClickEvent(QMouseEvent* e) {
    if ((m_style & SS_NOTIFY) == 0 || e->button() != Qt::LeftButton) {
        e->ignore();
        return;
    }
    // The press before it has already reported the click.
    e->accept();
    update();
}

} // namespace vostrel
