#pragma once
// The one way work crosses to another thread's event loop: a queued call
// into the thread of a context object, which runs the work there unless the
// object dies first.
//
// Thread builds: Qt's event queue orders a post before its delivery through
// locks the checker cannot see. The work is therefore handed over with an
// explicit edge, and Qt's own bookkeeping of the post (the event, its queue)
// is left unrecorded; everything the work does when it runs is checked.
#include <QMetaObject>
#include <QObject>
#include <memory>
#include <utility>

#include "platform/core/thread_checks.h"

namespace korv::platform {

template <class Work>
void post_queued(QObject* context, Work work) {
    struct TakeOverThenDelete {
        void operator()(Work* handed) const {
            taken_over(handed);
            delete handed;
        }
    };
    std::unique_ptr<Work, TakeOverThenDelete> handed(new Work(std::move(work)));
    handed_over(handed.get());
    const UncheckedAccesses qt_bookkeeping;
    QMetaObject::invokeMethod(
        context,
        [handed = std::move(handed)] {
            taken_over(handed.get());
            (*handed)();
        },
        Qt::QueuedConnection);
}

}  // namespace korv::platform
