#pragma once
// Our code runs on threads we start (std::thread), where the thread build
// checks it; the threads Qt starts for itself are left unchecked
// (qt_threads_unrecorded.cpp), so none of ours may run on one. Outside
// testsupport/ the tree names none of Qt's ways to start a thread or hand an
// object to one: QThread (but for QThread::currentThread(), which asks which
// thread runs and starts none), QThreadPool, QRunnable, QtConcurrent and
// moveToThread; nor links Qt's Concurrent module.
#include "testsupport/include_rules.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korv::testsupport {

inline const std::string kQtThreadsWhy = "our code runs on our own threads, never on one Qt starts";

// The first of those names `line`, one line of `file`, holds against the
// rule, or nothing.
std::optional<std::string> forbidden_thread_name(const std::string& file, const std::string& line);

// Every line of the tree's .h and .cpp files that breaks the rule.
std::vector<LayerViolation> check_tree_thread_starts(const std::filesystem::path& root);

}  // namespace korv::testsupport
