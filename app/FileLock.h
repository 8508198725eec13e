#pragma once
// The lock that makes a file one game's: an open file description lock (F_OFD_SETLK) for
// writing, which only someone who may write the file can take, on the file itself, so that
// every game over one file meets it whatever its environment and whoever plays. The kernel
// gives it up when the process ends, however it ends.
//
// A save that replaces the file renames a new one into its place; CarryOver locks that new file
// before the rename, so the lock is never off the file under its name.

#include <sys/types.h>

namespace vostrel {

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    enum class Result {
        // This process holds the file.
        Held,
        // Another process does.
        Busy,
        // The file cannot be opened for writing (missing folder, no permission) or is no
        // regular file: no lock.
        None,
    };
    // Locks the file `name` in the open folder, made empty when missing.
    Result Take(int folder, const char* name);
    bool held() const { return fd_ >= 0; }

    // For a save about to rename newFd's file over the file with this device and inode: when
    // this process holds that file, newFd's file is locked too, and the lock moves to it once
    // Moved is called. 0, or the errno value of a lock that could not be taken.
    static int CarryOver(dev_t dev, ino_t ino, int newFd);
    static void Moved(dev_t dev, ino_t ino, int newFd);

private:
    int fd_ = -1;
};

} // namespace vostrel
