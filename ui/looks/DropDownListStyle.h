#pragma once
// The look of a drop-down list as the original platform draws it: the list always opens under
// its field, never over it with the current item laid on the field.

#include <QProxyStyle>

namespace vostrel {

class DropDownListStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace vostrel
