#include "nativeio/core/item_list.h"

#include "nativeio/core/result_codes.h"

namespace korv::korvio {

int read_item_list(const int* items, int item_count, std::vector<int>* usable) {
    usable->clear();
    if (item_count < 0 || (item_count > 0 && !items)) return kBadArgument;
    for (int i = 0; i < item_count; ++i) {
        if (items[i] < 0) continue;
        if (static_cast<int>(usable->size()) == kMaxUsableItems) return kBadArgument;
        usable->push_back(items[i]);
    }
    return kDone;
}

}  // namespace korv::korvio
