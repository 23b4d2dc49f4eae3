#include "boxlogger/core/tuning_write.h"

#include "boxlogger/core/drb_pages.h"
#include "boxlogger/core/link_engine.h"
#include "boxlogger/core/variable.h"

#include <algorithm>
#include <limits>

namespace korv::boxlogger {

TuningPlan PlanTuningWrites(const std::vector<TuningEntry>& entries) {
    TuningPlan plan;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TuningEntry& entry = entries[i];
        if (entry.text.empty() || entry.variable == nullptr) continue;
        if (!LooksLikeNumber(entry.text)) {
            plan.not_numbers.push_back(static_cast<int>(i));
            continue;
        }
        plan.writes.push_back({static_cast<int>(i), entry.variable->request_byte(), entry.variable->ToRaw(entry.text)});
    }
    return plan;
}

std::vector<int> RowsToClear(const TuningPlan& plan, std::size_t sent) {
    const int stop = sent < plan.writes.size() ? plan.writes[sent].row : std::numeric_limits<int>::max();
    std::vector<int> rows;
    for (std::size_t k = 0; k < sent && k < plan.writes.size(); ++k) rows.push_back(plan.writes[k].row);
    for (int row : plan.not_numbers)
        if (row < stop) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    return rows;
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
