#pragma once
// What assistive technology calls the program: "Vostrel", the name the player knows. The
// application name itself is the desktop entry's id, which the window class is made of, and a
// screen reader would spell that out.

#include <QAccessibleObject>

namespace vostrel {

class ApplicationAccessible : public QAccessibleApplication {
public:
    // Makes Qt build this interface for the application object; before the first window.
    static void Install();

    QString text(QAccessible::Text t) const override;
};

} // namespace vostrel
