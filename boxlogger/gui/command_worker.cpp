#include "boxlogger/gui/command_worker.h"

#include <QMetaObject>

namespace korv::boxlogger {

CCommandWorker::CCommandWorker(QObject* parent) : QObject(parent) {}

CCommandWorker::~CCommandWorker() {
    if (thread_.joinable()) thread_.join();
}

bool CCommandWorker::Start(Job job, Done done) {
    if (busy_) return false;
    if (thread_.joinable()) thread_.join();
    busy_ = true;
    emit busyChanged(true);
    thread_ = std::thread([this, job = std::move(job), done = std::move(done)]() mutable {
        const int result = job();
        QMetaObject::invokeMethod(
            this, [this, result, done = std::move(done)] { finish(result, done); }, Qt::QueuedConnection);
    });
    return true;
}

void CCommandWorker::finish(int result, const Done& done) {
    if (thread_.joinable()) thread_.join();
    busy_ = false;
    if (done) done(result);
    if (!busy_) emit busyChanged(false);
}

}  // namespace korv::boxlogger
