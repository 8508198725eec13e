#pragma once
// The real file calls, with one of them failing once, or a kill coming before a given call or
// after a given count of written bytes: from then on nothing more reaches the file.

#include "app/PosixFileCalls.h"

#include <algorithm>
#include <cerrno>

namespace vostrel::fakes {

class FaultyFileCalls : public IFileCalls {
public:
    // The call (counted from 0) that fails once with EIO, having done nothing; -1 for none.
    int failCall = -1;
    // The call before which the process is killed; -1 for none.
    int killBeforeCall = -1;
    // The written byte after which it is killed; -1 for none.
    long long killAfterBytes = -1;

    int calls = 0;
    long long written = 0;
    bool killed = false;

    int Reserve(int fd, off_t size) override { return Enter() ? EIO : real_.Reserve(fd, size); }
    int WriteAt(int fd, std::string_view bytes, off_t offset) override {
        if (Enter()) {
            return EIO;
        }
        if (killAfterBytes >= 0 &&
            written + static_cast<long long>(bytes.size()) > killAfterBytes) {
            const auto part = static_cast<size_t>(std::max(0LL, killAfterBytes - written));
            real_.WriteAt(fd, bytes.substr(0, part), offset);
            written += static_cast<long long>(part);
            killed = true;
            return EIO;
        }
        written += static_cast<long long>(bytes.size());
        return real_.WriteAt(fd, bytes, offset);
    }
    // A kill loses nothing that reached the page cache: the disk need not be waited for.
    int Sync(int) override { return Enter() ? EIO : 0; }
    int Truncate(int fd, off_t size) override { return Enter() ? EIO : real_.Truncate(fd, size); }

private:
    // True when the call must do nothing and fail.
    bool Enter() {
        const int n = calls++;
        if (n == killBeforeCall) {
            killed = true;
        }
        return killed || n == failCall;
    }
    PosixFileCalls real_;
};

} // namespace vostrel::fakes
