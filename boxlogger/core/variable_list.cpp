#include "boxlogger/core/variable_list.h"

#include <algorithm>

namespace korv::boxlogger {

CVariableList::CVariableList(CSerialPort& port) : table_(port, false) {}

CVariableList::~CVariableList() {
    // One at a time: a trigger's descriptor releases its rules' descriptors
    // on this list as it goes.
    while (!variables_.empty()) {
        std::unique_ptr<CVariable> last = std::move(variables_.back());
        variables_.pop_back();
    }
}

int CVariableList::Poll() { return table_.PollNext(); }

CVariable* CVariableList::Acquire(int channel_id) {
    for (const auto& variable : variables_) {
        if (variable->channel_id() == channel_id) {
            ++variable->use_count;
            return variable.get();
        }
    }
    std::unique_ptr<CVariable> variable = CreateVariable(channel_id);
    if (!variable) return nullptr;
    variable->Attach(*this);
    variable->use_count = 1;
    variables_.push_back(std::move(variable));
    return variables_.back().get();
}

void CVariableList::Release(CVariable* variable) {
    const auto it = std::find_if(variables_.begin(), variables_.end(),
                                 [variable](const auto& held) { return held.get() == variable; });
    if (it == variables_.end()) return;
    if (--(*it)->use_count > 0) return;
    // Off the list before it goes: a trigger's descriptor releases its
    // rules' descriptors on this list as it is destroyed.
    std::unique_ptr<CVariable> doomed = std::move(*it);
    variables_.erase(it);
}

}  // namespace korv::boxlogger
