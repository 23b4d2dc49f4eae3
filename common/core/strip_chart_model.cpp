#include "common/core/strip_chart_model.h"

#include <algorithm>
#include <utility>
#include <limits>

#include "common/core/channel_ids.h"
#include "common/core/java_numbers.h"

namespace korv {

namespace {

using Record = StripChartModel::Record;

// Far enough off the window that nothing drawn there shows, near enough
// that no painter coordinate overflows.
constexpr std::int64_t kOffWindow = 100000;

Record add_saturating(Record a, Record b) {
    Record sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<Record>::max() : std::numeric_limits<Record>::min();
    }
    return sum;
}

std::int32_t to_int32_saturating(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Two running minima and maxima side by side, in registers, so the
// compares do not wait on each other; a block is never empty.
std::pair<std::int32_t, std::int32_t> lowest_and_highest(std::span<const std::int32_t> values) {
    std::int32_t low_a = values[0];
    std::int32_t low_b = values[0];
    std::int32_t high_a = values[0];
    std::int32_t high_b = values[0];
    std::size_t i = 0;
    for (; i + 2 <= values.size(); i += 2) {
        low_a = std::min(low_a, values[i]);
        high_a = std::max(high_a, values[i]);
        low_b = std::min(low_b, values[i + 1]);
        high_b = std::max(high_b, values[i + 1]);
    }
    if (i < values.size()) {
        low_a = std::min(low_a, values[i]);
        high_a = std::max(high_a, values[i]);
    }
    return {std::min(low_a, low_b), std::max(high_a, high_b)};
}

}  // namespace

StripChartModel::StripChartModel(StripChartOptions options) : options_(options) {
    set_window_size(kDefaultWidth, kDefaultHeight);
}

Record StripChartModel::saturate(Record n) const {
    if (options_.record_bits >= 64) return n;
    return to_int32_saturating(n);
}

void StripChartModel::set_window_size(int width, int height) {
    const StripChartBorders& b = options_.borders;
    area_.width = width;
    area_.height = height;
    area_.left = b.left;
    area_.top = b.top;
    area_.w = width - b.left - b.right;
    area_.h = height - b.top - b.bottom;
    area_.right = width - b.right - 1;
    area_.bottom = height - b.bottom - 1;
    if (options_.bottom == StripChartBottom::chart_low) scale_from_range();
}

void StripChartModel::set_shown(bool shown) {
    shown_ = shown;
    if (!shown_) mark_x_.reset();
}

void StripChartModel::set_chart_low(int low) { chart_low_ = low; }

void StripChartModel::set_chart_high(int high) { chart_high_ = high; }

void StripChartModel::scale_from_range() {
    // Before a range is set, high is not above low: dividing by the span
    // would give an infinite or inverted scale.
    if (options_.require_high_above_low && !range_usable()) return;
    const std::int64_t span = static_cast<std::int64_t>(chart_high_) - chart_low_;
    if (span == 0) return;
    conversion_factor_ = static_cast<float>(area_.h) / static_cast<float>(span);
}

void StripChartModel::set_scale(int high, StripChartRangeBox box) {
    if (options_.bottom == StripChartBottom::chart_low) {
        scale_from_range();
        return;
    }
    const float h = static_cast<float>(area_.h);
    if (conversion_factor_ == -1.0f) conversion_factor_ = h / static_cast<float>(chart_high_);
    switch (box) {
    case StripChartRangeBox::none: break;
    case StripChartRangeBox::ticked:
        if (high > 0) conversion_factor_ = h / static_cast<float>(high);
        break;
    case StripChartRangeBox::unticked: conversion_factor_ = h / static_cast<float>(chart_high_); break;
    }
}

float StripChartModel::hover_of(std::int32_t v) const {
    if (options_.whole_hover_value) return static_cast<float>(v / 100);
    return static_cast<float>(static_cast<double>(v) / 100.0);
}

void StripChartModel::take_base_title() {
    if (base_title_taken_) return;
    ts_ = title_;
    base_title_taken_ = true;
}

std::int32_t StripChartModel::clamped(std::int32_t v) const {
    if (!options_.clamp_to_range) return v;
    if (v / 100 > chart_high_) return to_int32_saturating(static_cast<std::int64_t>(chart_high_) * 100);
    if (v / 100 < chart_low_) return to_int32_saturating(static_cast<std::int64_t>(chart_low_) * 100);
    return v;
}

void StripChartModel::plot_point(std::int32_t v, StripChartRangeBox box) {
    set_window_size(area_.width, area_.height);
    take_base_title();
    v = clamped(v);
    points_.push_back(v);
    data_high_ = std::max(data_high_, v / 100);
    data_low_ = std::min(data_low_, v / 100);
    set_scale(data_high_, box);

    if (!options_.follows_newest) {
        if (options_.point_rebuilds_title) update_status();
        return;
    }
    repaint();
    last_record_ = saturate(add_saturating(last_record_, 1));
    hover_value_ = hover_of(v);
    update_status();
    curr_record_ = saturate(add_saturating(curr_record_, 1));
}

void StripChartModel::plot_points(std::span<const std::int32_t> values, StripChartRangeBox box) {
    if (values.empty()) return;
    // A live chart repaints and counts every point: nothing to gather there.
    if (options_.follows_newest) {
        for (std::int32_t v : values) plot_point(v, box);
        return;
    }
    set_window_size(area_.width, area_.height);
    take_base_title();
    const std::size_t first = points_.size();
    if (options_.clamp_to_range) {
        for (std::int32_t v : values) points_.push_back(clamped(v));
    } else {
        points_.insert(points_.end(), values.begin(), values.end());
    }
    // Truncating division keeps the order, so the block's highest and lowest
    // whole values are those of its highest and lowest points.
    const auto [lowest, highest] = lowest_and_highest(std::span(points_).subspan(first));
    data_high_ = std::max(data_high_, highest / 100);
    data_low_ = std::min(data_low_, lowest / 100);
    // The scale only ever depends on the highest value so far and the box,
    // so setting it once after the block leaves what setting it per point would.
    set_scale(data_high_, box);
    if (options_.point_rebuilds_title) update_status();
}

std::span<std::int32_t> StripChartModel::reserve_points(std::size_t n) {
    // Storage kept from a much longer log is given back rather than held.
    if (points_.empty() && points_.capacity() / 2 > n) std::vector<std::int32_t>().swap(points_);
    if (n <= points_.capacity()) return {};
    points_.reserve(n);
    const std::size_t used = points_.size();
    return {points_.data() + used, points_.capacity() - used};
}

void StripChartModel::clear() {
    if (points_.empty() && !options_.clear_when_empty) return;
    // The storage stays: the next feed, usually of as many records, fills
    // pages already backed instead of freeing and faulting them again.
    points_.clear();
    chart_item_ = -1;
    chart_low_ = -1;
    chart_high_ = -1;
    data_high_ = 0;
    data_low_ = kNoData;
    conversion_factor_ = -1.0f;
    last_record_ = -1;
    curr_record_ = -1;
    first_point_ = 0;
    last_point_ = -1;
    hover_x_ = 0;
    base_title_taken_ = false;
    mark_x_.reset();
    value_point_.reset();
}

void StripChartModel::reset_range(StripChartRangeBox box) {
    if (points_.empty()) return;
    data_low_ = kNoData;
    data_high_ = -1;
    conversion_factor_ = -1.0f;
    for (std::int32_t v : points_) {
        data_high_ = std::max(data_high_, v / 100);
        data_low_ = std::min(data_low_, v / 100);
    }
    set_scale(data_high_, box);
}

bool StripChartModel::drawable() const {
    if (!shown_ || points_.empty()) return false;
    return !options_.require_high_above_low || range_usable();
}

std::int64_t StripChartModel::drawn_end() const {
    std::int64_t end = std::min<std::int64_t>(curr_record_, static_cast<std::int64_t>(points_.size()));
    if (options_.drawn_index_limit >= 0) end = std::min(end, options_.drawn_index_limit);
    return end;
}

void StripChartModel::repaint() {
    mark_x_.reset();
    if (!drawable()) return;
    if (options_.bottom == StripChartBottom::chart_low) scale_from_range();
    const Record w = area_.w;
    // A log shorter than the window cannot be scrolled past its end.
    if (curr_record_ > last_record_ && last_record_ > 0 && last_record_ < w) curr_record_ = last_record_;
    first_point_ = std::max<Record>(0, add_saturating(curr_record_, -(w - 2)));
    last_point_ = curr_record_;

    if (value_point_) {
        hover_value_ = hover_of(points_[static_cast<std::size_t>(*value_point_)]);
        return;
    }
    const Record hovered = add_saturating(add_saturating(first_point_, hover_x_), options_.hover_offset);
    if (hovered >= first_point_ && hovered < drawn_end()) {
        hover_value_ = hover_of(points_[static_cast<std::size_t>(hovered)]);
    }
}

void StripChartModel::show_value_of(Record i) {
    if (i < 0 || static_cast<std::size_t>(i) >= points_.size()) return;
    value_point_ = i;
    hover_value_ = hover_of(points_[static_cast<std::size_t>(i)]);
}

void StripChartModel::paint_mark(int x) {
    hover_x_ = saturate(x);
    repaint();
    if (shown_) mark_x_ = x;
    if (options_.mark_rebuilds_title) update_status();
}

std::int64_t StripChartModel::value_y(std::int32_t v) const {
    const std::int64_t whole = v / 100;
    const std::int64_t base = static_cast<std::int64_t>(area_.top) + area_.h;
    if (options_.bottom == StripChartBottom::zero) {
        // Integer times float, narrowed as the runtime narrows (NaN gives 0).
        const float scaled = static_cast<float>(whole) * conversion_factor_;
        return base - saturating_float_to_int32(scaled);
    }
    const std::int64_t span = static_cast<std::int64_t>(chart_high_) - chart_low_;
    if (span == 0) return base;
    return base - (whole - chart_low_) * area_.h / span;
}

void StripChartModel::trace(std::vector<StripChartVertex>& out) const {
    out.clear();
    if (!drawable()) return;
    const Record w = area_.w;
    Record curr = curr_record_;
    if (curr > last_record_ && last_record_ > 0 && last_record_ < w) curr = last_record_;
    const Record first = std::max<Record>(0, add_saturating(curr, -(w - 2)));
    std::int64_t end = std::min<std::int64_t>(curr, static_cast<std::int64_t>(points_.size()));
    if (options_.drawn_index_limit >= 0) end = std::min(end, options_.drawn_index_limit);
    if (end <= first) return;
    out.reserve(static_cast<std::size_t>(end - first));
    for (Record i = first; i < end; ++i) {
        const std::int64_t y = std::clamp(value_y(points_[static_cast<std::size_t>(i)]), -kOffWindow, kOffWindow);
        out.push_back({static_cast<int>(area_.left + (i - first - 1)), static_cast<int>(y)});
    }
}

int StripChartModel::title_divisor() const {
    if (!options_.title.item_divisor) return 1;
    return chart_item_ == channel_id::kO2Voltage || chart_item_ == channel_id::kThrottlePosition ? 100 : 1;
}

float StripChartModel::title_value() const { return hover_value_ / static_cast<float>(title_divisor()); }

void StripChartModel::update_status() {
    const StripChartTitleFormat& format = options_.title;
    const int d = title_divisor();
    std::string text = ts_ + " ";
    if (format.min_max) {
        text += "Min: " + std::to_string(chart_low_) + " Max: " + std::to_string(chart_high_) + " ";
    }
    if (has_data()) {
        text += "High: " + std::to_string(data_high_ / d) + " Low: " + std::to_string(data_low_ / d) + " ";
    }
    const std::string hover = java_float_to_string(title_value());
    text += format.brackets ? "(" + hover + ")" : hover;
    title_ = std::move(text);
}

std::optional<int> StripChartModel::hover_position(int mouse_x) const {
    const int x = mouse_x - area_.left;
    // Left of the plot, past its right end or past the points: nothing.
    if (x < 0 || x > area_.w - 2 || x > last_record_) return std::nullopt;
    return x;
}

bool StripChartModel::scroll_data(int click_x, int full_width) {
    const Record half = full_width / 2;
    const Record d = click_x < half ? -half : half;
    const int mark = click_x - area_.left;
    if (d > 0 && add_saturating(curr_record_, d) > last_record_) {
        curr_record_ = last_record_;
        paint_mark(mark);
        return false;
    }
    if (add_saturating(curr_record_, d) > area_.w - 2) {
        curr_record_ = saturate(add_saturating(curr_record_, d));
    } else {
        curr_record_ = area_.w - 2;
    }
    paint_mark(mark);
    update_status();
    return true;
}

void StripChartModel::resume() {
    curr_record_ = last_record_;
    repaint();
}

void StripChartModel::scroll_mark(Record n) {
    const Record w = area_.w;
    if (n < add_saturating(first_point_, 2)) {
        if (n <= 2) return;
        if (n < w - 2) {
            curr_record_ = w - 2;
            paint_mark(static_cast<int>(n));
        } else {
            curr_record_ = saturate(n);
            paint_mark(static_cast<int>(w - 2));
        }
    } else if (n > last_point_) {
        curr_record_ = saturate(n);
        paint_mark(static_cast<int>(w - 2));
    } else {
        paint_mark(static_cast<int>(n - first_point_ - 2));
    }
}

std::optional<StripChartModel::PlayerClick> StripChartModel::player_click_scroll(int click_x, int full_width) {
    if (points_.empty()) return std::nullopt;
    const Record half = full_width / 2;
    const Record d = click_x < half ? -half : half;
    if (d > 0 && add_saturating(curr_record_, d) > last_record_) curr_record_ = saturate(last_record_ - d);
    PlayerClick click{std::nullopt, click_x - area_.left};
    if (add_saturating(curr_record_, d) > area_.w - 2) {
        click.player_record = add_saturating(curr_record_, d);
    } else {
        curr_record_ = area_.w - 2;
    }
    if (add_saturating(curr_record_, d) > area_.w - 2) curr_record_ = saturate(add_saturating(curr_record_, d));
    return click;
}

}  // namespace korv
