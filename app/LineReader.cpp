#include "app/LineReader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace vostrel {

namespace {

constexpr int32_t kLine = 0;
constexpr int32_t kEnd = -1;
constexpr int32_t kNoBlock = -10;
constexpr int32_t kNoMemory = -11;
constexpr int32_t kBadRead = -12;
constexpr int32_t kTooLong = -13;

} // namespace

// 0 bytes are waiting, -1 the source is exhausted, or an error result.
int32_t LineReader::Fill() {
    if (!block_) {
        block_.reset(new (std::nothrow) char[blockSize_]);
        if (!block_) {
            return kNoBlock;
        }
    }
    const int64_t n = source_.Read(block_.get(), blockSize_);
    if (n < 0) {
        sourceFailed_ = true;
        return kBadRead;
    }
    pos_ = 0;
    end_ = static_cast<size_t>(n);
    return n == 0 ? kEnd : 0;
}

int32_t LineReader::ReadLine(std::string& line) {
    line.clear();
    bool crPending = false;
    try {
        for (;;) {
            if (pos_ == end_) {
                const int32_t r = Fill();
                if (r == kEnd) {
                    // The pending CR belongs to the unfinished line handed back.
                    if (crPending) {
                        line.push_back('\r');
                    }
                    return kEnd;
                }
                if (r != 0) {
                    return r;
                }
            }
            const char* p = block_.get() + pos_;
            const size_t avail = std::min(end_ - pos_, kMaxLine + 1 - line.size());
            if (crPending) {
                if (*p != '\n') {
                    return kBadRead;
                }
                ++pos_;
                return kLine;
            }
            const void* lf = std::memchr(p, '\n', avail);
            const size_t upToLf =
                lf ? static_cast<size_t>(static_cast<const char*>(lf) - p) : avail;
            const void* cr = std::memchr(p, '\r', upToLf);
            if (cr) {
                const size_t n = static_cast<size_t>(static_cast<const char*>(cr) - p);
                line.append(p, n);
                pos_ += n + 1;
                crPending = true;
                continue;
            }
            line.append(p, upToLf);
            if (lf) {
                pos_ += upToLf + 1;
                return kLine;
            }
            pos_ += upToLf;
            if (line.size() > kMaxLine) {
                line.resize(kMaxLine);
                return kTooLong;
            }
        }
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    } catch (const std::length_error&) {
        return kNoMemory;
    }
}

} // namespace vostrel
