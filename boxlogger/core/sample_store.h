#pragma once
// Complete poll cycles carried from the poll thread to the documents: the hub
// writes one frame per cycle into every enabled ring; a document drains its
// ring on the GUI thread into its sample list.
#include "boxlogger/core/link_mutex.h"
#include "boxlogger/core/variable_list.h"
#include "common/core/vxm_document.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace korv::boxlogger {

// A stored sample: time in seconds, one value per channel. Stored by the
// document file's own codec.
using CSampleArray = VxmSample;

class CSampleRing {
public:
    static constexpr int kFrames = 32;
    static constexpr std::size_t kInitialValues = 10;
    static constexpr std::int64_t kNoTimeBase = -1;

    explicit CSampleRing(std::int64_t tick_frequency);

    void Reset();  // enabled, emptied; the time base is kept
    void Disable();
    void Clear();  // disabled, and the next frame starts the time at 0
    // The frame to fill, or none when disabled.
    CSampleArray* WriteSlot();
    // Stamps the filled frame with its cycle time (clock ticks) as seconds
    // since the time base and moves on; a full ring drops its oldest frame.
    void Commit(std::int64_t cycle_ticks);
    const CSampleArray* Peek() const;
    void Advance();

    void AddVariable(CVariable* variable);
    void RemoveVariable(CVariable* variable);

    bool enabled() const { return enabled_; }
    const std::vector<CVariable*>& variables() const { return variables_; }

private:
    std::int64_t tick_frequency_;
    std::vector<CVariable*> variables_;
    std::array<CSampleArray, kFrames> frames_;
    int write_index_ = 0;
    int read_index_ = 0;
    bool enabled_ = false;
    std::int64_t time_base_ = kNoTimeBase;
};

class CSampleHub : public CVariableList {
public:
    explicit CSampleHub(CSerialPort& port);
    ~CSampleHub() override;

    // One exchange; a complete cycle fills every enabled ring.
    int Poll() override;

    CSampleRing* CreateRing();
    void RemoveRing(CSampleRing* ring);
    CVariable* Subscribe(int channel_id, CSampleRing* ring);
    void Unsubscribe(CVariable* variable, CSampleRing* ring);

    // Moves every unread frame of the ring to the end of `out`, under the
    // hub's lock (a full ring's writer moves the read index).
    void Drain(CSampleRing* ring, std::vector<CSampleArray>& out);
    // Calls f(ring) under the hub's lock, for ring state changes.
    template <typename F>
    void WithRing(CSampleRing* ring, F&& f) {
        std::lock_guard lock(mutex_);
        f(*ring);
    }

    bool empty() const { return table().count() == 0; }
    // For edits of what Fill reads outside the hub's own calls (trigger rules).
    LinkMutex& mutex() { return mutex_; }

private:
    void Fill();

    LinkMutex mutex_;
    std::map<CSampleRing*, std::unique_ptr<CSampleRing>> rings_;
};

// A document's samples with a search cache, so a chart's repeated searches
// for nearby times cost a few steps each. The samples lie in the document
// file's flat table: a loaded file is moved in whole.
class CSampleList {
public:
    void Append(const CSampleArray& sample) { Append(sample.time, sample.values); }
    void Append(float time, std::span<const float> values);
    // Empties the list; its samples get `width` values from now on.
    void Reset(std::size_t width);
    void Clear() { Reset(samples_.width()); }
    // Takes a whole table of samples, as read from a file.
    void Adopt(VxmSampleTable samples);
    // Hands the table over (for storing); the list is empty until Adopt.
    VxmSampleTable Take();

    std::size_t size() const { return samples_.size(); }
    float time(std::size_t i) const { return samples_.time(i); }
    std::span<const float> values(std::size_t i) const { return samples_.values(i); }
    const VxmSampleTable& table() const { return samples_; }

    // Position of the sample shown at time t, or none for an empty list.
    std::optional<std::size_t> FindByTime(float t);
    // FindByTime, then the cache holds the result.
    std::optional<std::size_t> SeekTime(float t);

private:
    void forget_cache();

    VxmSampleTable samples_;
    std::optional<std::size_t> cached_position_;
    float cached_time_ = 0.0f;
};

}  // namespace korv::boxlogger
