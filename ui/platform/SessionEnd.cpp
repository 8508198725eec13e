#include "ui/platform/SessionEnd.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace vostrel {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t wakeFd = -1;

extern "C" void Wake(int) {
    const int saved = errno;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd, &one, sizeof one);
    errno = saved;
}

// The end to run when the platform ends the program with exit() (Qt does when the X server
// goes away); null once the program ends otherwise. The object it points to lives in main's
// frame, which exit() leaves standing.
const std::function<void()>* endAtExit = nullptr;

extern "C" void RunEndAtExit() {
    if (const std::function<void()>* end = std::exchange(endAtExit, nullptr)) {
        (*end)();
    }
}

void Restore(unsigned caught) {
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        if (caught & (1u << i)) {
            std::signal(kSignals[i], SIG_DFL);
        }
    }
}

} // namespace

SessionEnd::SessionEnd(std::function<void()> save, std::function<void()> end)
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
        struct sigaction sa = {};
        sa.sa_handler = Wake;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            struct sigaction old = {};
            if (::sigaction(kSignals[i], nullptr, &old) == 0 && old.sa_handler != SIG_IGN &&
                ::sigaction(kSignals[i], &sa, nullptr) == 0) {
                caught_ |= 1u << i;
            }
        }
    }
    // At a logout the session manager asks for the data, then (unless the logout is
    // cancelled) for the end; neither may wait for the player.
    const auto saveForSession = [this](QSessionManager& manager) {
        // The game has no state to come back to, and a restart command would hand it
        // arguments that it refuses.
        manager.setRestartHint(QSessionManager::RestartNever);
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
    Restore(caught_);
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
    end_();
    // The file is whole from here on: a further signal may end the program at once.
    Restore(caught_);
    caught_ = 0;
    // Every running loop returns, modal ones included, and any later one returns at once.
    QCoreApplication::exit(0);
}

} // namespace vostrel
