// None of our code runs on a thread Qt starts: the names that would put it
// there are refused outside the test toolbox.
#include "testsupport/thread_start_rules.h"

#include <gtest/gtest.h>

namespace korv::testsupport {
namespace {

TEST(thread_start_rules, refuse_qts_ways_to_start_a_thread) {
    struct Case {
        const char* file;
        const char* line;
        const char* refused;  // empty: allowed
    };
    const Case cases[] = {
        {"logger/gui/a.cpp", "#include <QThreadPool>", "QThreadPool"},
        {"logger/gui/a.cpp", "    QThreadPool::globalInstance()->start(job);", "QThreadPool"},
        {"logger/gui/a.cpp", "#include <QtConcurrent/QtConcurrentRun>", "QtConcurrent"},
        {"logger/gui/a.cpp", "auto done = QtConcurrentRun(f);", "QtConcurrentRun"},
        {"logger/gui/a.cpp", "class Job : public QRunnable {", "QRunnable"},
        {"logger/gui/a.cpp", "worker->moveToThread(&thread);", "moveToThread"},
        {"logger/gui/a.cpp", "QThread thread;", "QThread"},
        {"logger/gui/a.cpp", "QThread::create(work)->start();", "QThread"},
        {"boxlogger/app/main.cpp", "QThread::msleep(100);", "QThread"},
        {"logger/gui/a.cpp", "if (QThread::currentThread() == QThread::currentThread()) {}", ""},
        {"logger/gui/a.cpp", "QThread::currentThread() == context->thread() && new QThread", "QThread"},
        {"platform/tests/a_test.cpp", "std::vector<QThread*> ran_on;", "QThread"},
        {"bench/a.cpp", "QThreadPool pool;", "QThreadPool"},
        {"logger/gui/a.cpp", "#include <QThread>", ""},
        {"logger/gui/a.cpp", "QThreadStorage<int> cache; QThreads; MyQThread;", ""},
        {"testsupport/qt_threads_unrecorded_test.cpp", "QThreadPool pool; QThread::create(f);", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(forbidden_thread_name(c.file, c.line).value_or(""), c.refused) << c.file << ": " << c.line;
    }
}

}  // namespace
}  // namespace korv::testsupport
