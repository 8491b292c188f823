#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace lumidot {

// Ends the program as closing its window does when the system asks it to:
// SIGTERM (a session logging out), SIGINT (Ctrl+C in a terminal) and
// SIGHUP (the terminal gone). A report that is up is answered first. The
// signal reaches the window through the event loop, so it is handled in
// every phase of a game, at its next look at the events; a sound that is
// playing ends first.
class SignalWatcher : public QObject {
    Q_OBJECT

  public:
    explicit SignalWatcher(QWidget& window);
    ~SignalWatcher() override;
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

  private:
    void Handle();

    QWidget& window_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace lumidot
