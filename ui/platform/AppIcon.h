#pragma once
// The application icon (resource 128), in every size the resources hold.

#include <QIcon>

namespace vostrel {

QIcon AppIcon();

} // namespace vostrel
