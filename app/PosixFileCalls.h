#pragma once
// The file calls of the running system.

#include "app/IFileCalls.h"

namespace vostrel {

class PosixFileCalls : public IFileCalls {
public:
    int Reserve(int fd, off_t size) override;
    int WriteAt(int fd, std::string_view bytes, off_t offset) override;
    int Sync(int fd) override;
    int Truncate(int fd, off_t size) override;
};

} // namespace vostrel
