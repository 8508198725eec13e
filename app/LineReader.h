#pragma once
// Splits a byte source into lines ended by LF or CR LF, reading it in large blocks. The results
// are those of reading one byte at a time: a CR followed by anything but LF is an error where it
// stands, and the bytes after the last line end come back with the end-of-file result.

#include "app/IByteSource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vostrel {

class LineReader {
public:
    static constexpr size_t kDefaultBlock = 64 * 1024;
    // The longest line read: far above the longest the game writes (a name of 32767
    // characters, two bytes each, after its key), far below what would strain memory.
    static constexpr size_t kMaxLine = 1024 * 1024;

    explicit LineReader(IByteSource& source, size_t blockSize = kDefaultBlock)
        : source_(source), blockSize_(blockSize == 0 ? 1 : blockSize) {}

    // Replaces line with the next line, without its CR LF or LF. Results: 0 a line; -1 end of
    // the source (line holds the bytes after the last line end); -10 no memory for the block
    // buffer; -11 no memory to grow the line; -12 a read failure, or a CR not followed by LF;
    // -13 a line longer than kMaxLine (line holds its first kMaxLine bytes).
    int32_t ReadLine(std::string& line);
    // Whether a -12 came from the source rather than from the bytes.
    bool sourceFailed() const { return sourceFailed_; }

private:
    int32_t Fill();

    IByteSource& source_;
    size_t blockSize_;
    std::unique_ptr<char[]> block_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool sourceFailed_ = false;
};

} // namespace vostrel
