// One game per settings file: every route to one file meets the game that holds it, however
// long it has run; what a killed game left is taken over, and the new game answers later starts.
// A later start runs on a thread of its own, as it would in a process of its own, while this
// thread's event loop plays the running game.
#include "app/GameGuard.h"
#include "app/SettingsLocation.h"
#include "app/Sha256.h"
#include "core/TempDir.h"
#include "ui/desktop/SingleInstance.h"

#include <QCryptographicHash>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <ostream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace vostrel {

void PrintTo(SingleInstance::Role role, std::ostream* os) {
    static const char* const names[] = {"Sole", "Elsewhere", "Unreachable", "Unguarded"};
    *os << names[static_cast<int>(role)];
}

namespace {

using Role = SingleInstance::Role;

// Runs fn on another thread while this one answers, and returns its result.
template <class Fn> auto WhileAnswering(Fn fn) {
    decltype(fn()) result{};
    std::atomic<bool> done{false};
    std::thread t([&] {
        result = fn();
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
    t.join();
    return result;
}

Role LaterStart(const std::string& path, const std::string& folder) {
    return WhileAnswering([&] { return SingleInstance(path, folder, 1000).role(); });
}

struct GuardFolders {
    test::TempDir dir;
    std::string run;

    GuardFolders() : run(dir.File("run")) {
        ::mkdir(dir.File("run").c_str(), 0700);
        ::mkdir(dir.File("data").c_str(), 0700);
    }
    std::string Socket(const std::string& path) const {
        return GameGuard::Base(path, run) + ".sock";
    }
};

TEST(SingleInstance, EveryRouteToOneFileMeetsTheGameThatHoldsIt) {
    GuardFolders f;
    const std::string file = f.dir.File("data/vostrel.dat");
    test::WriteBytes(file, ":Vostrel\r\n");
    ASSERT_EQ(::symlink("data", f.dir.File("linked").c_str()), 0);
    ASSERT_EQ(::symlink("data/vostrel.dat", f.dir.File("alias.dat").c_str()), 0);

    const SingleInstance running(file, f.run, 0);
    ASSERT_EQ(running.role(), Role::Sole);
    EXPECT_EQ(LaterStart(f.dir.File("linked/vostrel.dat"), f.run), Role::Elsewhere);
    EXPECT_EQ(LaterStart(f.dir.File("alias.dat"), f.run), Role::Elsewhere);
    EXPECT_EQ(LaterStart(f.dir.File("linked/../data/vostrel.dat"), f.run), Role::Elsewhere);

    // A file still to be made, in a folder reached through a link.
    const SingleInstance fresh(f.dir.File("data/new.dat"), f.run, 0);
    ASSERT_EQ(fresh.role(), Role::Sole);
    EXPECT_EQ(LaterStart(f.dir.File("linked/new.dat"), f.run), Role::Elsewhere);

    // Another file has a game of its own.
    EXPECT_EQ(SingleInstance(f.dir.File("data/other.dat"), f.run, 0).role(), Role::Sole);
}

TEST(SingleInstance, ARunningGameKeepsItsFileHoweverLongItRuns) {
    GuardFolders f;
    const std::string file = f.dir.File("data/vostrel.dat");
    auto running = std::make_unique<SingleInstance>(file, f.run, 0);
    ASSERT_EQ(running->role(), Role::Sole);
    // A day without a touch of the locked file, as in a game left open.
    const timespec dayAgo[2] = {{::time(nullptr) - 86400, 0}, {::time(nullptr) - 86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), dayAgo, 0), 0);
    EXPECT_EQ(LaterStart(file, f.run), Role::Elsewhere);
    // Asked to come forward with a dialog over its minimised window, the game shows both.
    QWidget game;
    game.showMinimized();
    QDialog dialog(&game);
    dialog.setModal(true);
    dialog.show();
    EXPECT_TRUE(WhileAnswering([&] { return GameGuard::AskToComeForward(f.Socket(file)); }));
    EXPECT_FALSE(game.isMinimized());
    EXPECT_FALSE(dialog.isMinimized());

    // Ended, its file is free at once.
    running.reset();
    EXPECT_EQ(SingleInstance(file, f.run, 0).role(), Role::Sole);
}

TEST(SingleInstance, AKilledGamesLockAndSocketAreTakenOver) {
    GuardFolders f;
    const std::string file = f.dir.File("data/vostrel.dat");
    // What a kill leaves: the file, no longer locked, and a socket file nothing listens on.
    test::WriteBytes(file, "");
    const int dead = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string socketPath = f.Socket(file);
    ASSERT_LT(socketPath.size(), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, socketPath.data(), socketPath.size());
    ASSERT_EQ(::bind(dead, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    ::close(dead);
    EXPECT_FALSE(GameGuard::AskToComeForward(f.Socket(file)));

    const SingleInstance next(file, f.run, 0);
    ASSERT_EQ(next.role(), Role::Sole);
    EXPECT_TRUE(WhileAnswering([&] { return GameGuard::AskToComeForward(f.Socket(file)); }));
    EXPECT_EQ(LaterStart(file, f.run), Role::Elsewhere);
}

// Games of earlier versions named the lock and the socket by Qt's SHA-256 of the same key: a
// game they run is met by a later start of this one.
TEST(SingleInstance, TheLockAndSocketKeepTheNamesEarlierVersionsUsed) {
    GuardFolders f;
    const std::string file = f.dir.File("data/vostrel.dat");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(static_cast<qulonglong>(::geteuid())));
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(QByteArray::fromStdString(SettingsIdentity(file)));
    EXPECT_EQ(GameGuard::Base(file, f.run),
              f.run + "/vostrel-" + hash.result().toHex().left(24).toStdString());
    // Every length around the block borders, where the padding changes.
    std::string bytes;
    for (int n = 0; n < 200; ++n) {
        const auto ours = Sha256(bytes);
        const QByteArray qt =
            QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ours.data()), 32), qt) << n;
        bytes += static_cast<char>(0x80 + n);
    }
}

} // namespace
} // namespace vostrel
