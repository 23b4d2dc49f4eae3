#pragma once
// Runs one long box command (an actuator test, clearing the codes, a tuning
// write) on a thread of its own, so the window keeps painting while the box
// takes its seconds; the result comes back to the GUI thread as a queued call.
#include <QObject>
#include <functional>
#include <thread>

namespace korv::boxlogger {

class CCommandWorker : public QObject {
    Q_OBJECT
public:
    using Job = std::function<int()>;
    using Done = std::function<void(int)>;

    explicit CCommandWorker(QObject* parent = nullptr);
    // Waits for a job still running; its result is dropped.
    ~CCommandWorker() override;

    // Starts the job unless one runs already. `done` gets its result on this
    // object's thread; a `done` that starts the next job keeps the worker busy.
    bool Start(Job job, Done done);
    bool busy() const { return busy_; }

signals:
    void busyChanged(bool busy);

private:
    void finish(int result, const Done& done);

    std::thread thread_;
    bool busy_ = false;
};

}  // namespace korv::boxlogger
