#pragma once
// A one-line label that paints itself in its own text and background colours. Clickable when
// its style has SS_NOTIFY; a disabled label still paints as an enabled one. A clickable label
// given a focus policy opens its list from the keyboard too and marks its focus itself.

#include "ui/IAccessibleLabel.h"

#include <QColor>
#include <QFrame>
#include <QPointer>
#include <QString>

#include <cstdint>

namespace vostrel {

// Style bits, with the values of the platform the program was first written for.
constexpr uint32_t SS_LEFT = 0x0000u;
constexpr uint32_t SS_CENTER = 0x0001u;
constexpr uint32_t SS_RIGHT = 0x0002u;
constexpr uint32_t SS_NOTIFY = 0x0100u;
constexpr uint32_t SS_CENTERIMAGE = 0x0200u;
constexpr uint32_t SS_SUNKEN = 0x1000u;

// A rectangle as the original platform states it: right and bottom lie just outside.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class CStaticEx : public QFrame, public IAccessibleLabel {
    Q_OBJECT
public:
    explicit CStaticEx(QWidget* parent = nullptr);

    // Places the label in parent at the pixel rectangle and shows it. id is the control id it
    // reports clicks with.
    void Create(const QString& text, uint32_t style, const PixelRect& rect, QWidget* parent,
                int id);

    void SetBackColor(const QColor& color);
    QColor BackColor() const { return m_backColor; }
    QColor TextColor() const { return m_textColor; }

    // spoken is what a screen reader says for the text; empty: the text itself.
    void SetWindowText(const QString& text, const QString& spoken = QString());
    QString WindowText() const { return m_text; }
    QString SpokenValue() const override;

    // The label that names this one for assistive technology; a reader then takes both for
    // parts of one row and not for loose text to read out as a window opens.
    void SetLabelledBy(QWidget* label) { m_labelledBy = label; }
    QWidget* LabelledBy() const override { return m_labelledBy; }

    // A clickable label that takes focus: it stands for a list that it opens.
    bool OpensList() const override;
    // A click from the keyboard or from assistive technology.
    void Activate() override;

    void ModifyStyle(uint32_t remove, uint32_t add);
    uint32_t Style() const { return m_style; }
    int CtrlId() const { return m_id; }

    // The Qt flags that the style bits give for the text.
    static int TextFlags(uint32_t style);

signals:
    void clicked(int id);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void NotifyAccessibleChange();

    QColor m_textColor;
    QColor m_backColor;
    QString m_text;
    QString m_spoken;
    QPointer<QWidget> m_labelledBy;
    uint32_t m_style = SS_LEFT;
    int m_id = 0;
};

} // namespace vostrel
