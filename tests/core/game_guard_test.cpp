// One game per settings file, without a window: each game runs in a process of its own, as the
// player starts it, and a later start in this one.
#include "app/GameGuard.h"
#include "app/GuardFolder.h"
#include "core/Child.h"
#include "core/TempDir.h"
#include "fakes/FakeFileSystemView.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <ostream>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vostrel {

void PrintTo(GameGuard::Role role, std::ostream* os) {
    static const char* const names[] = {"Sole", "Elsewhere", "Unreachable", "Unguarded"};
    *os << names[static_cast<int>(role)];
}

namespace {

using Role = GameGuard::Role;

// A game in a process of its own: it answers later starts until it is killed, and tells this
// process each time it was asked to come forward.
class RunningGame {
public:
    RunningGame(const std::string& path, const std::string& folder) {
        int pipe[2];
        if (::pipe2(pipe, O_CLOEXEC) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(pipe[0]);
            // Never outlives a test that stopped half-way.
            std::signal(SIGALRM, SIG_DFL);
            ::alarm(60);
            GameGuard guard(path, folder, 0);
            const char role = static_cast<char>('0' + static_cast<int>(guard.role()));
            if (::write(pipe[1], &role, 1) != 1) {
                ::_exit(1);
            }
            for (;;) {
                pollfd p{guard.ListenFd(), POLLIN, 0};
                ::poll(&p, guard.ListenFd() < 0 ? 0 : 1, -1);
                guard.Answer([&] {
                    if (::write(pipe[1], "!", 1) != 1) {
                        ::_exit(1);
                    }
                });
            }
        }
        ::close(pipe[1]);
        fd_ = pipe[0];
        char role = 0;
        if (pid_ > 0 && ::read(fd_, &role, 1) == 1) {
            role_ = static_cast<Role>(role - '0');
        }
        ::fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~RunningGame() {
        Kill();
        ::close(fd_);
    }
    RunningGame(const RunningGame&) = delete;
    RunningGame& operator=(const RunningGame&) = delete;

    Role role() const { return role_; }
    // How many times it has been asked to come forward so far.
    int Raised() {
        char c;
        while (::read(fd_, &c, 1) == 1) {
            ++raised_;
        }
        return raised_;
    }
    // As the desktop kills it: nothing of its own is cleaned up.
    void Kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    Role role_ = static_cast<Role>(-1);
    int raised_ = 0;
};

struct GuardFolders {
    test::TempDir dir;
    std::string run = dir.File("run");
    std::string file = dir.File("data/vostrel.dat");

    GuardFolders() {
        ::mkdir(run.c_str(), 0700);
        ::mkdir(dir.File("data").c_str(), 0700);
    }
    std::string Socket() const { return GameGuard::Base(file, run) + ".sock"; }
};

TEST(GameGuard, ALaterStartBringsTheRunningGameForwardAndEnds) {
    GuardFolders f;
    RunningGame game(f.file, f.run);
    ASSERT_EQ(game.role(), Role::Sole);
    EXPECT_EQ(GameGuard(f.file, f.run, 5000).role(), Role::Elsewhere);
    EXPECT_EQ(game.Raised(), 1);
    EXPECT_TRUE(GameGuard::AskToComeForward(f.Socket()));
    EXPECT_EQ(game.Raised(), 2);
    // Another file has a game of its own; no folder, no guard.
    EXPECT_EQ(GameGuard(f.dir.File("data/other.dat"), f.run, 0).role(), Role::Sole);
    EXPECT_EQ(GameGuard(f.dir.File("data/third.dat"), "", 0).role(), Role::Sole);
    EXPECT_EQ(game.Raised(), 2);
    // A place that cannot hold the file: no lock, no guard.
    EXPECT_EQ(GameGuard(f.dir.File("missing/vostrel.dat"), f.run, 0).role(), Role::Unguarded);
}

TEST(GameGuard, AKilledGamesLockAndSocketAreTakenOver) {
    GuardFolders f;
    RunningGame killed(f.file, f.run);
    ASSERT_EQ(killed.role(), Role::Sole);
    killed.Kill();
    // What the kill left behind.
    struct stat st;
    ASSERT_EQ(::lstat(f.Socket().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_FALSE(GameGuard::AskToComeForward(f.Socket()));

    RunningGame next(f.file, f.run);
    ASSERT_EQ(next.role(), Role::Sole);
    EXPECT_EQ(GameGuard(f.file, f.run, 5000).role(), Role::Elsewhere);
    EXPECT_EQ(next.Raised(), 1);
}

// The lock is on the file: a game started with another runtime folder, or by another player
// over a file both may write, meets it and does not run; it cannot bring it forward, so it says
// so (Unreachable) rather than ending in silence.
TEST(GameGuard, TwoGamesOverOneFileMeetWhateverTheirFoldersAndPlayers) {
    GuardFolders f;
    const std::string run2 = f.dir.File("run2");
    ASSERT_EQ(::mkdir(run2.c_str(), 0700), 0);
    RunningGame game(f.file, f.run);
    ASSERT_EQ(game.role(), Role::Sole);
    EXPECT_EQ(GameGuard(f.file, run2, 300).role(), Role::Unreachable);
    const GameGuard noFolder(f.file, "", 300);
    EXPECT_EQ(noFolder.role(), Role::Unreachable);
    EXPECT_FALSE(noFolder.hasFolder());
    // A link of the player's to the file meets the same lock.
    ASSERT_EQ(::symlink(f.file.c_str(), f.dir.File("link.dat").c_str()), 0);
    EXPECT_EQ(GameGuard(f.dir.File("link.dat"), run2, 300).role(), Role::Unreachable);
    EXPECT_EQ(game.Raised(), 0);
    if (::geteuid() != 0) {
        return;
    }
    // A root-owned folder and a file that everyone may write: another player's start.
    ASSERT_EQ(::chmod(f.dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(f.dir.File("data").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(f.file.c_str(), 0666), 0);
    const int code = test::InChild([&] {
        if (!test::BecomePlayer()) {
            return 3;
        }
        return static_cast<int>(GameGuard(f.file, "", 300).role());
    });
    EXPECT_EQ(code, static_cast<int>(Role::Unreachable));
}

// A game that holds the file but never answers on its socket (stopped, or not the game at all)
// keeps a later start from running: after a short wait, never a second window.
TEST(GameGuard, AHolderThatNeverAnswersStillKeepsTheFile) {
    GuardFolders f;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        std::signal(SIGALRM, SIG_DFL);
        ::alarm(60);
        GameGuard guard(f.file, f.run, 0);
        // Listens, but never accepts: connections wait in the backlog unanswered.
        const char role = static_cast<char>('0' + static_cast<int>(guard.role()));
        if (::write(ready[1], &role, 1) != 1) {
            ::_exit(1);
        }
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char role = 0;
    ASSERT_EQ(::read(ready[0], &role, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(role, '0' + static_cast<int>(Role::Sole));
    const auto t0 = std::chrono::steady_clock::now();
    const GameGuard later(f.file, f.run, 500);
    const auto waited = std::chrono::steady_clock::now() - t0;
    EXPECT_EQ(later.role(), Role::Unreachable);
    EXPECT_TRUE(later.hasFolder());
    EXPECT_EQ(later.ListenFd(), -1);
    EXPECT_LT(waited, std::chrono::seconds(5));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    // Free once its holder is gone.
    EXPECT_EQ(GameGuard(f.file, f.run, 0).role(), Role::Sole);
}

TEST(GameGuard, ABindMountOfTheDataFolderMeetsTheSameGame) {
    GuardFolders f;
    ASSERT_EQ(::mkdir(f.dir.File("alias").c_str(), 0700), 0);
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a bind mount needs root";
    }
    // In a mount namespace of its own, so that nothing outlives the child.
    const int code = test::InChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(f.dir.File("data").c_str(), f.dir.File("alias").c_str(), nullptr, MS_BIND,
                    nullptr) != 0) {
            return 3;
        }
        RunningGame game(f.file, f.run);
        if (game.role() != Role::Sole) {
            return 2;
        }
        const Role later = GameGuard(f.dir.File("alias/vostrel.dat"), f.run, 5000).role();
        return later == Role::Elsewhere && game.Raised() == 1 ? 0 : 1;
    });
    if (code == 3) {
        GTEST_SKIP() << "no bind mount here";
    }
    EXPECT_EQ(code, 0);
}

// The folder: the runtime folder when only the player may enter it, else the player's cache,
// made or narrowed to the player; never a link, nor a folder others may enter.
TEST(GameGuard, TheFolderIsOneOnlyThePlayerMayEnter) {
    test::TempDir dir;
    fakes::FakeFileSystemView fs;
    const std::string runtime = dir.File("runtime");
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    fs.environment["XDG_RUNTIME_DIR"] = runtime;
    fs.environment["XDG_CACHE_HOME"] = dir.File("cache");
    fs.home = dir.File("home");
    EXPECT_EQ(GuardFolder(fs), runtime);

    struct stat st;
    const std::string cache = dir.File("cache/vostrel");
    // Open to the group or to others: not the player's alone.
    for (const mode_t mode : {mode_t{0750}, mode_t{0705}}) {
        ASSERT_EQ(::chmod(runtime.c_str(), mode), 0);
        EXPECT_EQ(GuardFolder(fs), cache) << mode;
    }
    ASSERT_EQ(::stat(cache.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::chmod(cache.c_str(), 0750), 0);
    EXPECT_EQ(GuardFolder(fs), cache);
    ASSERT_EQ(::stat(cache.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A relative cache folder counts for none: the home's.
    fs.environment["XDG_CACHE_HOME"] = "cache";
    fs.environment.erase("XDG_RUNTIME_DIR");
    EXPECT_EQ(GuardFolder(fs), dir.File("home/.cache/vostrel"));
    fs.home = "home";
    EXPECT_EQ(GuardFolder(fs), "");

    fs.environment["XDG_CACHE_HOME"] = dir.File("linked");
    ASSERT_EQ(::mkdir(dir.File("linked").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(runtime.c_str(), dir.File("linked/vostrel").c_str()), 0);
    ASSERT_EQ(::chmod(runtime.c_str(), 0700), 0);
    // The player's own link is followed to a folder of the player's alone; another user's never.
    EXPECT_EQ(GuardFolder(fs), dir.File("linked/vostrel"));
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(dir.File("linked/vostrel").c_str(), 65534, 65534), 0);
        EXPECT_EQ(GuardFolder(fs), "");
    }
    // Under a folder that others may write, neither is taken: another user could swap it.
    const std::string shared = dir.File("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(dir.File("shared/run").c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    fs.environment["XDG_RUNTIME_DIR"] = dir.File("shared/run");
    fs.environment["XDG_CACHE_HOME"] = shared;
    EXPECT_EQ(GuardFolder(fs), "");
    EXPECT_NE(::access(dir.File("shared/vostrel").c_str(), F_OK), 0);
    // Sticky: passed through only when root's, as /tmp is; what the player owns inside it is
    // then the player's.
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    EXPECT_EQ(GuardFolder(fs), ::geteuid() == 0 ? dir.File("shared/run") : "");
    fs.environment["XDG_RUNTIME_DIR"] = runtime;
    fs.environment["XDG_CACHE_HOME"] = dir.File("linked");
    if (::geteuid() == 0) {
        // Root's game does not take a runtime folder of another user's.
        fs.environment["XDG_RUNTIME_DIR"] = runtime;
        ASSERT_EQ(::chown(runtime.c_str(), 65534, 65534), 0);
        EXPECT_EQ(GuardFolder(fs), "");
    }
}

} // namespace
} // namespace vostrel
