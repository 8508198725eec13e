#include "ui/looks/DropDownListStyle.h"

namespace vostrel {

int DropDownListStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const {
    if (hint == SH_ComboBox_Popup) {
        // A plain list below the field: a menu-like popup would cover the labels above.
        return 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace vostrel
