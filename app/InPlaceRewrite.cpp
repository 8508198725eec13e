#include "app/InPlaceRewrite.h"

#include "app/FileReasons.h"
#include "app/Sha256.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

namespace {

// The copy and the mark each begin on a page of their own: a kill between two pages of a write
// leaves whole pages, so a cut copy is never mistaken for NUL bytes alone.
constexpr off_t kPage = 4096;
constexpr char kMagic[16] = {'\0', 'v', 'o', 's', 't', 'r', 'e', 'l',
                             '-',  'r', 'e', 'w', 'r', 'i', 't', 'e'};

// Magic, the old length, the new length, where the copy is, the copy's digest, and the digest
// of all that, so that a mark cut short is never taken for one.
struct Mark {
    uint64_t oldSize = 0;
    uint64_t newSize = 0;
    uint64_t copyAt = 0;
    std::array<uint8_t, 32> digest{};
};
constexpr size_t kFields = sizeof kMagic + 3 * 8 + 32;
constexpr off_t kMarkSize = kFields + 32;

off_t RoundUp(off_t n) {
    return (n + kPage - 1) / kPage * kPage;
}

void Put64(std::string& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xff);
    }
}

uint64_t Get64(const char* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(p[i]);
    }
    return v;
}

std::string Encode(const Mark& m) {
    std::string out(kMagic, sizeof kMagic);
    Put64(out, m.oldSize);
    Put64(out, m.newSize);
    Put64(out, m.copyAt);
    out.append(reinterpret_cast<const char*>(m.digest.data()), m.digest.size());
    const std::array<uint8_t, 32> self = Sha256(out);
    out.append(reinterpret_cast<const char*>(self.data()), self.size());
    return out;
}

bool Decode(const std::string& bytes, Mark& m) {
    if (bytes.size() != static_cast<size_t>(kMarkSize) ||
        std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        return false;
    }
    const std::array<uint8_t, 32> self = Sha256(std::string_view(bytes).substr(0, kFields));
    if (std::memcmp(self.data(), bytes.data() + kFields, self.size()) != 0) {
        return false;
    }
    const char* p = bytes.data() + sizeof kMagic;
    m.oldSize = Get64(p);
    m.newSize = Get64(p + 8);
    m.copyAt = Get64(p + 16);
    std::memcpy(m.digest.data(), p + 24, m.digest.size());
    return true;
}

// Exactly n bytes at offset, or false.
bool ReadAt(int fd, std::string& out, size_t n, off_t offset) {
    out.assign(n, '\0');
    size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd, out.data() + got, n - got, offset + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            return false;
        }
        got += static_cast<size_t>(r);
    }
    return true;
}

// The mark at the end of a file of `size` bytes, checked against that size.
bool ReadMark(int fd, off_t size, Mark& m) {
    if (size < kMarkSize || (size - kMarkSize) % kPage != 0) {
        return false;
    }
    std::string bytes;
    if (!ReadAt(fd, bytes, kMarkSize, size - kMarkSize) || !Decode(bytes, m)) {
        return false;
    }
    const uint64_t markAt = static_cast<uint64_t>(size - kMarkSize);
    return m.oldSize < m.copyAt && m.newSize <= static_cast<uint64_t>(kMaxSettingsFile) &&
           m.copyAt + m.newSize <= markAt && m.copyAt % kPage == 0;
}

// Where the first line that starts with a NUL byte starts; -1 for none.
off_t FirstNulLine(int fd) {
    char block[65536];
    off_t at = 0;
    char before = '\n';
    for (;;) {
        const ssize_t n = ::pread(fd, block, sizeof block, at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return -1;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (block[i] == '\0' && before == '\n') {
                return at + i;
            }
            before = block[i];
        }
        at += n;
    }
}

// The copy over the old bytes, and the rest cut off.
int Finish(int fd, std::string_view bytes, IFileCalls& calls) {
    int r = calls.WriteAt(fd, bytes, 0);
    if (r == 0) {
        r = calls.Sync(fd);
    }
    if (r == 0) {
        r = calls.Truncate(fd, static_cast<off_t>(bytes.size()));
    }
    if (r == 0) {
        r = calls.Sync(fd);
    }
    return r;
}

} // namespace

int InPlaceRewrite::Write(int fd, std::string_view bytes, IFileCalls& calls) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        return errno;
    }
    if (!S_ISREG(st.st_mode)) {
        return EINVAL;
    }
    try {
        const off_t oldSize = st.st_size;
        const off_t newSize = static_cast<off_t>(bytes.size());
        Mark m;
        m.oldSize = static_cast<uint64_t>(oldSize);
        m.newSize = static_cast<uint64_t>(newSize);
        // At least one NUL byte after the old bytes, where Mend finds their end.
        const off_t copyAt = RoundUp(std::max(oldSize, newSize) + 1);
        m.copyAt = static_cast<uint64_t>(copyAt);
        m.digest = Sha256(bytes);
        const std::string mark = Encode(m);
        const off_t markAt = RoundUp(copyAt + newSize);

        int r = calls.Reserve(fd, markAt + kMarkSize);
        if (r == 0) {
            r = calls.WriteAt(fd, bytes, copyAt);
        }
        if (r == 0) {
            r = calls.Sync(fd);
        }
        if (r == 0) {
            r = calls.WriteAt(fd, mark, markAt);
        }
        if (r == 0) {
            r = calls.Sync(fd);
        }
        if (r != 0) {
            // The old bytes are untouched: only what was added goes.
            if (calls.Truncate(fd, oldSize) == 0) {
                calls.Sync(fd);
            }
            return r;
        }
        return Finish(fd, bytes, calls);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

InPlaceRewrite::Outcome InPlaceRewrite::Mend(int fd, IFileCalls& calls, int& why) {
    why = 0;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        why = errno;
        return Outcome::Failed;
    }
    try {
        Mark m;
        if (ReadMark(fd, st.st_size, m)) {
            std::string copy;
            if (!ReadAt(fd, copy, m.newSize, static_cast<off_t>(m.copyAt))) {
                why = EIO;
                return Outcome::Failed;
            }
            if (Sha256(copy) != m.digest) {
                // Written and synced before the mark: the disk lost it.
                why = kCutShort;
                return Outcome::Failed;
            }
            why = Finish(fd, copy, calls);
            return why == 0 ? Outcome::Finished : Outcome::Failed;
        }
        const off_t cut = FirstNulLine(fd);
        if (cut < 0) {
            return Outcome::Whole;
        }
        why = calls.Truncate(fd, cut);
        if (why == 0) {
            why = calls.Sync(fd);
        }
        return why == 0 ? Outcome::Undone : Outcome::Failed;
    } catch (const std::bad_alloc&) {
        why = ENOMEM;
        return Outcome::Failed;
    }
}

bool InPlaceRewrite::EndsWithMark(int fd, off_t size) {
    Mark m;
    try {
        return ReadMark(fd, size, m);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace vostrel
