#pragma once
// The real machine, as the running process (its effective user) sees it.

#include "app/IFileSystemView.h"

namespace vostrel {

class PosixFileSystemView : public IFileSystemView {
public:
    bool IsWritableDirectory(const std::string& path) const override;
    bool IsTrustedDirectory(const std::string& path) const override;
    bool IsWritableFile(const std::string& path) const override;
    std::string Environment(const std::string& name) const override;
    std::string HomeDirectory() const override;
};

} // namespace vostrel
