// Where the settings file lives: beside the executable for a portable copy, in the player's
// data folder for an installed game.

#include "Child.h"
#include "TempDir.h"
#include "app/PosixFileSystemView.h"
#include "app/SettingsLocation.h"
#include "fakes/FakeFileSystemView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vostrel {

void PrintTo(const SettingsLocation& l, std::ostream* os) {
    *os << l.path << (l.makeFolder ? " (folder made)" : "");
}

namespace {

using fakes::FakeFileSystemView;

FakeFileSystemView Installed() {
    FakeFileSystemView fs;
    fs.home = "/home/hanako";
    return fs;
}

SettingsLocation Choose(const FakeFileSystemView& fs) {
    return ChooseSettingsLocation(fs, "/usr/bin/vostrel.dat", "vostrel.dat");
}

TEST(SettingsLocation, BesideTheExecutableWhenThePlayerMayWriteThere) {
    FakeFileSystemView fs = Installed();
    fs.writableDirectories = {"/usr/bin/"};
    EXPECT_EQ(Choose(fs), (SettingsLocation{"/usr/bin/vostrel.dat", false}));

    // A folder the player may not write, with a file there that the player may.
    fs.writableDirectories.clear();
    fs.writableFiles = {"/usr/bin/vostrel.dat"};
    EXPECT_EQ(Choose(fs), (SettingsLocation{"/usr/bin/vostrel.dat", false}));
}

// A copy in a folder that others may change (/tmp, a shared folder, a stick mounted for all)
// keeps its file in the player's data folder, where no one else can put a link in its place.
TEST(SettingsLocation, NotBesideTheExecutableInAFolderThatOthersMayChange) {
    FakeFileSystemView fs = Installed();
    fs.writableDirectories = {"/usr/bin/"};
    fs.writableFiles = {"/usr/bin/vostrel.dat"};
    fs.sharedDirectories = {"/usr/bin/"};
    EXPECT_EQ(Choose(fs),
              (SettingsLocation{"/home/hanako/.local/share/vostrel/vostrel.dat", true}));
}

TEST(SettingsLocation, OtherwiseInThePlayersDataFolder) {
    FakeFileSystemView fs = Installed();
    EXPECT_EQ(Choose(fs),
              (SettingsLocation{"/home/hanako/.local/share/vostrel/vostrel.dat", true}));

    fs.environment["XDG_DATA_HOME"] = "/data/hanako/";
    EXPECT_EQ(Choose(fs), (SettingsLocation{"/data/hanako/vostrel/vostrel.dat", true}));

    // An empty or relative XDG_DATA_HOME is ignored.
    for (const char* ignored : {"", "data", "./data"}) {
        fs.environment["XDG_DATA_HOME"] = ignored;
        EXPECT_EQ(Choose(fs).path, "/home/hanako/.local/share/vostrel/vostrel.dat") << ignored;
    }

    EXPECT_EQ(ChooseSettingsLocation(fs, "", "vostrel.dat").path,
              "/home/hanako/.local/share/vostrel/vostrel.dat");

    // Without any folder of the player's, the path beside the executable: a missing file.
    fs.home = "";
    EXPECT_EQ(Choose(fs), (SettingsLocation{"/usr/bin/vostrel.dat", false}));
}

// The real view answers for the process's own user: the player, also when the tests run as
// root.
TEST(PosixFileSystemView, WritableMeansWritableByThePlayer) {
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    for (const char* name : {"open", "closed"}) {
        ASSERT_EQ(::mkdir(dir.File(name).c_str(), 0755), 0);
        test::WriteBytes(dir.File(name) + "/vostrel.dat", "");
    }
    ASSERT_EQ(::mkdir(dir.File("closed/below").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(dir.File("open").c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.File("open/vostrel.dat").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.File("closed").c_str(), 0555), 0);
    ASSERT_EQ(::chmod(dir.File("closed/vostrel.dat").c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo(dir.File("open/fifo").c_str(), 0666), 0);
    // Trusted: the player's or root's, when no one else may write it, nor any folder above it
    // but a sticky one of root's.
    ASSERT_EQ(::mkdir(dir.File("own").c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.File("own").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir(dir.File("sticky").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(dir.File("sticky").c_str(), 01777), 0);
    for (const char* below : {"open/below", "sticky/below"}) {
        ASSERT_EQ(::mkdir(dir.File(below).c_str(), 0755), 0);
    }
    const bool root = ::geteuid() == 0;
    if (root) {
        for (const char* mine : {"own", "open/below", "sticky/below", "closed/below"}) {
            ASSERT_EQ(::chown(dir.File(mine).c_str(), 65534, 65534), 0);
        }
    }
    const int code = test::InChild([&] {
        if (!test::BecomePlayer()) {
            return 3;
        }
        const PosixFileSystemView fs;
        const bool trust = !fs.IsTrustedDirectory(dir.File("own/")) &&
                           fs.IsTrustedDirectory(dir.File("closed/")) &&
                           fs.IsTrustedDirectory(dir.File("closed/below")) &&
                           !fs.IsTrustedDirectory(dir.File("open/")) &&
                           !fs.IsTrustedDirectory(dir.File("open/below/")) &&
                           !fs.IsTrustedDirectory(dir.File("sticky/")) &&
                           fs.IsTrustedDirectory(dir.File("sticky/below")) == root &&
                           !fs.IsTrustedDirectory(dir.File("open/vostrel.dat"));
        const bool ok = trust && fs.IsWritableDirectory(dir.File("open/")) &&
                        !fs.IsWritableDirectory(dir.File("closed/")) &&
                        fs.IsWritableFile(dir.File("closed/vostrel.dat")) &&
                        !fs.IsWritableFile(dir.File("open/vostrel.dat")) &&
                        !fs.IsWritableFile(dir.File("open/fifo")) &&
                        !fs.IsWritableDirectory(dir.File("open/vostrel.dat"));
        return ok ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
}

// The one-game guard is named after this: every path to one file must give one name, also
// before the file and its folder exist, or two games would write the same file.
TEST(SettingsLocation, RealPathIsOnePerFile) {
    test::TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0755), 0);
    ASSERT_EQ(::symlink(dir.File("real").c_str(), dir.File("link").c_str()), 0);
    const std::string real = RealSettingsPath(dir.path());
    for (const char* file : {"vostrel.dat", "data/vostrel.dat"}) {
        const std::string want = real + "/real/" + file;
        EXPECT_EQ(RealSettingsPath(dir.File("link/") + file), want) << "missing " << file;
        EXPECT_EQ(RealSettingsPath(dir.File("real/./") + file), want) << "missing " << file;
    }
    ASSERT_EQ(::mkdir(dir.File("real/data").c_str(), 0755), 0);
    test::WriteBytes(dir.File("real/data/vostrel.dat"), "");
    ASSERT_EQ(::symlink(dir.File("real/data/vostrel.dat").c_str(), dir.File("alias.dat").c_str()),
              0);
    EXPECT_EQ(RealSettingsPath(dir.File("link/data/vostrel.dat")), real + "/real/data/vostrel.dat");
    EXPECT_EQ(RealSettingsPath(dir.File("alias.dat")), real + "/real/data/vostrel.dat");
    EXPECT_EQ(RealSettingsPath("/./vostrel-missing.dat"), "/vostrel-missing.dat");
    // A relative name, as the working folder gives it.
    char* cwd = ::getcwd(nullptr, 0);
    ASSERT_NE(cwd, nullptr);
    ASSERT_EQ(::chdir(dir.File("link").c_str()), 0);
    EXPECT_EQ(RealSettingsPath("vostrel.dat"), real + "/real/vostrel.dat");
    EXPECT_EQ(RealSettingsPath("new/vostrel.dat"), real + "/real/new/vostrel.dat");
    EXPECT_EQ(::chdir(cwd), 0);
    std::free(cwd);
}

// The guard's key: every path to one folder gives one identity, a bind mount of it included,
// also before the file is made; another file, or the same name elsewhere, another.
TEST(SettingsLocation, IdentityIsOnePerFileAcrossLinksAndMounts) {
    test::TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.File("other").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.File("alias").c_str(), 0755), 0);
    ASSERT_EQ(::symlink(dir.File("real").c_str(), dir.File("link").c_str()), 0);
    const std::string id = SettingsIdentity(dir.File("real/vostrel.dat"));
    EXPECT_EQ(SettingsIdentity(dir.File("link/vostrel.dat")), id);
    EXPECT_EQ(SettingsIdentity(dir.File("other/../real/./vostrel.dat")), id);
    EXPECT_NE(SettingsIdentity(dir.File("other/vostrel.dat")), id);
    EXPECT_NE(SettingsIdentity(dir.File("real/other.dat")), id);
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a bind mount needs root";
    }
    // In a mount namespace of its own, so that nothing outlives the child.
    const int code = test::InChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(dir.File("real").c_str(), dir.File("alias").c_str(), nullptr, MS_BIND,
                    nullptr) != 0) {
            return 3;
        }
        return SettingsIdentity(dir.File("alias/vostrel.dat")) == id ? 0 : 1;
    });
    if (code == 3) {
        GTEST_SKIP() << "no bind mount here";
    }
    EXPECT_EQ(code, 0);
}

} // namespace
} // namespace vostrel
