#include "boxlogger/core/tuning_write.h"

#include "boxlogger/core/drb_pages.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/variable.h"

namespace korv::boxlogger {

TuningPlan PlanTuningWrites(const std::vector<TuningEntry>& entries) {
    TuningPlan plan;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TuningEntry& entry = entries[i];
        if (entry.text.empty() || entry.variable == nullptr) continue;
        if (!LooksLikeNumber(entry.text)) {
            plan.writes.clear();
            plan.not_a_number = static_cast<int>(i);
            return plan;
        }
        plan.writes.push_back({static_cast<int>(i), entry.variable->request_byte(), entry.variable->ToRaw(entry.text)});
    }
    return plan;
}

std::size_t SendTuningWrites(CLinkEngine& engine, const std::vector<TuningWrite>& writes) {
    std::size_t sent = 0;
    for (const TuningWrite& write : writes) {
        if (engine.SendCommand(write.request_byte, write.raw) == 0) break;
        ++sent;
    }
    return sent;
}

}  // namespace korv::boxlogger
