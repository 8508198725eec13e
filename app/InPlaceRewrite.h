#pragma once
// Rewriting a file in place, for a folder that refuses a new file beside it, so that a rewrite
// cut off anywhere (a kill, a failed call) leaves the old bytes or the new ones, or a file that
// Mend brings back to one of them.
//
// The new bytes first go, with a mark naming them, past the end of the old ones, into space
// reserved at the start (a full disk fails there, before any byte changes); only when both are
// on the disk are the new bytes copied over the old ones and the rest cut off. Until the mark is
// complete, the old bytes stand untouched, followed by NUL bytes that no file of the game holds
// at a line's start: Mend cuts them off. Once it is, Mend finishes the copy.

#include "app/IFileCalls.h"

#include <string_view>
#include <sys/types.h>

namespace vostrel {

class InPlaceRewrite {
public:
    // fd open for reading and writing, on a regular file. 0, or the errno value of the call
    // that failed: before the mark was complete, the file is cut back to its old bytes (a
    // failure of that too leaves it for Mend); after, it is left for Mend.
    static int Write(int fd, std::string_view bytes, IFileCalls& calls);

    enum class Outcome {
        // Nothing of a cut rewrite.
        Whole,
        // The new bytes were complete: the copy is finished.
        Finished,
        // They were not: the old bytes are back.
        Undone,
        // A cut rewrite that could not be mended (why in `why`).
        Failed,
    };
    static Outcome Mend(int fd, IFileCalls& calls, int& why);
    // Whether a file of `size` bytes ends with a complete mark: a rewrite cut after it.
    static bool EndsWithMark(int fd, off_t size);
};

} // namespace vostrel
