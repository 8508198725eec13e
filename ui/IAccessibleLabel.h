#pragma once
// What assistive technology needs of a coloured label, all that its accessible knows of it.

#include <QString>

class QWidget;

namespace vostrel {

class IAccessibleLabel {
public:
    // What a screen reader says for the text.
    virtual QString SpokenValue() const = 0;
    // A clickable label that takes focus: it stands for a list that it opens.
    virtual bool OpensList() const = 0;
    // The label that names this one; null when none.
    virtual QWidget* LabelledBy() const = 0;
    // A click from the keyboard or from assistive technology.
    virtual void Activate() = 0;

protected:
    ~IAccessibleLabel() = default;
};

} // namespace vostrel
