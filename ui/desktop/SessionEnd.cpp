#include "ui/desktop/SessionEnd.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace vostrel {

namespace {

// Each ends the game as its window's close does, after saving; SIGUSR1 and SIGUSR2 because
// their default would end it losing what the player did.
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGUSR1, SIGUSR2};
// Their default would kill the game in the middle of a write that can fail instead: to a
// closed pipe (standard error), past a file size limit.
constexpr int kIgnored[] = {SIGPIPE, SIGXFSZ};

volatile sig_atomic_t wakeFd = -1;
// The program's status once its data is kept for good; -1 before.
volatile sig_atomic_t endStatus = -1;

extern "C" void Wake(int) {
    // The file is whole from here on: a further signal ends the program at once, with the
    // status it would end with anyway.
    if (endStatus >= 0) {
        ::_exit(endStatus);
    }
    const int saved = errno;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
    errno = saved;
}

// The end to run when the platform ends the program with exit() (Qt does when the X server
// goes away); null once the program ends otherwise. The object it points to lives in main's
// frame, which exit() leaves standing.
const std::function<int()>* endAtExit = nullptr;

extern "C" void RunEndAtExit() {
    if (const std::function<int()>* end = std::exchange(endAtExit, nullptr)) {
        (*end)();
    }
}

// Sets handler for each signal of the list that was not ignored at the start; one bit per
// signal set.
template <std::size_t N> unsigned Install(const int (&list)[N], void (*handler)(int)) {
    struct sigaction sa = {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    unsigned set = 0;
    for (std::size_t i = 0; i < N; ++i) {
        struct sigaction old = {};
        if (::sigaction(list[i], nullptr, &old) == 0 && old.sa_handler != SIG_IGN &&
            ::sigaction(list[i], &sa, nullptr) == 0) {
            set |= 1u << i;
        }
    }
    return set;
}

template <std::size_t N> void Restore(const int (&list)[N], unsigned set) {
    for (std::size_t i = 0; i < N; ++i) {
        if (set & (1u << i)) {
            std::signal(list[i], SIG_DFL);
        }
    }
}

} // namespace

SessionEnd::SessionEnd(std::function<void()> save, std::function<int()> end)
    : save_(std::move(save)), end_(std::move(end)) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ >= 0) {
        wakeFd = wakeFd_;
        auto* notifier = new QSocketNotifier(wakeFd_, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
            End();
        });
        endStatus = -1;
        caught_ = Install(kSignals, Wake);
    }
    ignored_ = Install(kIgnored, SIG_IGN);
    // At a logout the session manager asks for the data, then (unless the logout is
    // cancelled) for the end; neither may wait for the player.
    const auto saveForSession = [this](QSessionManager& manager) {
        // The game under way is kept in its file, so the next session brings it back. The
        // command is the program alone: Qt's own would add arguments that it refuses.
        manager.setRestartCommand({QCoreApplication::applicationFilePath()});
        manager.setRestartHint(QSessionManager::RestartIfRunning);
        save_();
    };
    connect(qApp, &QGuiApplication::commitDataRequest, this, saveForSession);
    connect(qApp, &QGuiApplication::saveStateRequest, this, saveForSession);
    qApp->installEventFilter(this);
    static const bool atExit = std::atexit(RunEndAtExit) == 0;
    if (atExit) {
        endAtExit = &end_;
    }
}

SessionEnd::~SessionEnd() {
    endAtExit = nullptr;
    // After the end the handlers stay, the ignored signals too: the program is ending, and a
    // signal must not change its status.
    if (!ended_) {
        Restore(kSignals, caught_);
        Restore(kIgnored, ignored_);
    }
    if (wakeFd_ >= 0) {
        wakeFd = -1;
        ::close(wakeFd_);
    }
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* e) {
    // The session manager's end of the session comes as a quit of the application, which
    // would otherwise close the game window through its exit question.
    if (watched == qApp && e->type() == QEvent::Quit) {
        End();
        return true;
    }
    return false;
}

void SessionEnd::End() {
    if (ended_) {
        return;
    }
    ended_ = true;
    endAtExit = nullptr;
    endStatus = end_();
    // Every running loop returns, modal ones included, and any later one returns at once.
    QCoreApplication::exit(0);
}

} // namespace vostrel
