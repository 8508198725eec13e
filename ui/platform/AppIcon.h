#pragma once
// The application icon (resource 128), in every size the resources hold: the application's own
// once it has one.

#include <QIcon>

namespace vostrel {

QIcon AppIcon();

} // namespace vostrel
