#pragma once
// Message boxes as the program states them: MB_ style flags in, IDOK, IDYES or IDNO out. Tests
// replace the real boxes with a responder that answers from a script.

#include <QMessageBox>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace vostrel {

// owner is the window that owns the box, or nullptr for none. Texts are UTF-8.
using MessageBoxResponder = std::function<int32_t(QWidget* owner, const std::string& text,
                                                  const std::string& caption, uint32_t style)>;

// Installs a responder for the whole process and gives back the one it replaces; an empty
// responder brings the real boxes back.
MessageBoxResponder SetMessageBoxResponder(MessageBoxResponder responder);

// Shows the box modally (or asks the responder) and returns IDOK, IDYES or IDNO.
int32_t ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                       uint32_t style);

// The box ShowMessageBox runs, built but not shown.
std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* owner, const std::string& text,
                                             const std::string& caption, uint32_t style);

// The result that a button of a built box stands for; IDOK for an unknown button.
int32_t MessageBoxResultOf(const QAbstractButton* button);

} // namespace vostrel
