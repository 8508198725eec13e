#pragma once
// The desktop ending the game: SIGTERM, SIGHUP and SIGINT (a logout or shutdown, the closed
// terminal, Ctrl+C), SIGUSR1 and SIGUSR2 alike, the X11 session manager's requests to save and
// to quit, and the display going away (Qt then ends the program with exit()). SIGPIPE and
// SIGXFSZ are ignored, so that the writes they stand for fail and are told. After the end a
// further signal ends the program at once with the end's status. The signal handler only wakes the
// event loop; the work runs from whichever loop is running, a modal dialog's or a message box's
// included, never inside the handler.

#include <QObject>

#include <functional>

namespace vostrel {

class SessionEnd : public QObject {
public:
    // save keeps the player's data while the game may go on; end keeps it for good and gives
    // the program's exit status, after which every event loop returns and the program ends as
    // after its window closed. Needs the QApplication.
    SessionEnd(std::function<void()> save, std::function<int()> end);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void End();

    std::function<void()> save_;
    std::function<int()> end_;
    int wakeFd_ = -1;
    // The signals whose handler is ours (a signal ignored from the start stays ignored).
    unsigned caught_ = 0;
    unsigned ignored_ = 0;
    bool ended_ = false;
};

} // namespace vostrel
