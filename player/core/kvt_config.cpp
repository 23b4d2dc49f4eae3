#include "player/core/kvt_config.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "common/core/atomic_file_writer.h"
#include "common/core/byte_order.h"

namespace korv::player::kvt {
namespace {

// The last slot can hold at most its fixed fields and two 199-byte strings;
// nothing further into the file is ever read.
constexpr std::size_t kReadBytes = 2048;
// An existing file is kept beyond the slots, up to this much.
constexpr std::size_t kKeptBytes = std::size_t{1} << 20;

class SlotWriter {
public:
    SlotWriter(std::vector<std::uint8_t>& out, std::int64_t offset)
        : out_(out), pos_(static_cast<std::size_t>(offset)) {}
    void put_int(std::int32_t v) {
        std::uint8_t b[4];
        store_i32_be(b, v);
        put(b, 4);
    }
    void put_bool(bool v) {
        const std::uint8_t b = v ? 1 : 0;
        put(&b, 1);
    }
    void put_string(const std::string& s) {
        const std::size_t n = stored_string_bytes(s);
        put_int(static_cast<std::int32_t>(n));
        put(reinterpret_cast<const std::uint8_t*>(s.data()), n);
    }
    void put_zeros(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) put_bool(false);
    }

private:
    void put(const std::uint8_t* p, std::size_t n) {
        if (out_.size() < pos_ + n) out_.resize(pos_ + n, 0);
        std::copy(p, p + n, out_.begin() + static_cast<std::ptrdiff_t>(pos_));
        pos_ += n;
    }
    std::vector<std::uint8_t>& out_;
    std::size_t pos_;
};

enum class Got { ok, bad_slot, end_of_file };

class SlotReader {
public:
    SlotReader(const std::uint8_t* bytes, std::size_t size, std::int64_t offset, bool last_slot)
        : bytes_(bytes),
          size_(size),
          pos_(static_cast<std::size_t>(offset)),
          end_(last_slot ? SIZE_MAX : static_cast<std::size_t>(offset + kSlotBytes)) {}

    Got get_int(std::int32_t& v) {
        if (pos_ + 4 > end_) return Got::bad_slot;
        if (pos_ + 4 > size_) return Got::end_of_file;
        v = load_i32_be(bytes_ + pos_);
        pos_ += 4;
        return Got::ok;
    }
    Got get_bool(bool& v) {
        if (pos_ + 1 > end_) return Got::bad_slot;
        if (pos_ + 1 > size_) return Got::end_of_file;
        v = bytes_[pos_++] != 0;
        return Got::ok;
    }
    Got get_string(std::string& s) {
        std::int32_t n = 0;
        if (const Got got = get_int(n); got != Got::ok) return got;
        if (n < 0 || static_cast<std::size_t>(n) > kMaxStringBytes) return Got::bad_slot;
        if (n == 0) {
            s = " ";
            return Got::ok;
        }
        const auto length = static_cast<std::size_t>(n);
        if (pos_ + length > end_) return Got::bad_slot;
        if (pos_ + length > size_) return Got::end_of_file;
        s.assign(reinterpret_cast<const char*>(bytes_ + pos_), length);
        pos_ += length;
        return Got::ok;
    }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t pos_;
    std::size_t end_;
};

// Runs the reads in order and keeps the first failure.
class Reads {
public:
    explicit Reads(SlotReader& in) : in_(in) {}
    Reads& i(std::int32_t& v) {
        return step([&] { return in_.get_int(v); });
    }
    Reads& b(bool& v) {
        return step([&] { return in_.get_bool(v); });
    }
    Reads& s(std::string& v) {
        return step([&] { return in_.get_string(v); });
    }
    Got result() const { return got_; }

private:
    template <typename F>
    Reads& step(F f) {
        if (got_ == Got::ok) got_ = f();
        return *this;
    }
    SlotReader& in_;
    Got got_ = Got::ok;
};

std::pair<std::string, std::string> fitted(std::size_t fixed, std::optional<std::size_t> limit,
                                           const std::string& first, const std::string& second) {
    const StringFit fit = fit_strings(fixed, limit, stored_string_bytes(first), stored_string_bytes(second));
    return {fit.keep_first ? first : std::string(), fit.keep_second ? second : std::string()};
}

void write_editor(SlotWriter& w, const EditorSlot& e, std::optional<std::size_t> limit) {
    const auto [file, dir] = fitted(kEditorSlotFixedBytes, limit, e.file, e.dir);
    w.put_bool(true);
    w.put_int(e.x);
    w.put_int(e.y);
    w.put_bool(e.visible);
    w.put_string(file);
    w.put_string(dir);
}

Got read_editor(Reads& r, EditorSlot& e) { return r.i(e.x).i(e.y).b(e.visible).s(e.file).s(e.dir).result(); }

}  // namespace

std::size_t stored_string_bytes(std::string_view text) { return text == " " ? 0 : text.size(); }

StringFit fit_strings(std::size_t fixed_bytes, std::optional<std::size_t> slot_limit, std::size_t first_bytes,
                      std::size_t second_bytes) {
    StringFit fit;
    fit.keep_first = first_bytes <= kMaxStringBytes;
    fit.keep_second = second_bytes <= kMaxStringBytes;
    if (!slot_limit) return fit;
    auto size = [&] { return fixed_bytes + (fit.keep_first ? first_bytes : 0) + (fit.keep_second ? second_bytes : 0); };
    if (size() > *slot_limit) fit.keep_first = false;
    if (size() > *slot_limit) fit.keep_second = false;
    return fit;
}

std::vector<std::uint8_t> encode_kvt(const KvtConfig& c, std::vector<std::uint8_t> base) {
    std::vector<std::uint8_t>& out = base;
    const std::optional<std::size_t> slot_limit = static_cast<std::size_t>(kSlotBytes);
    {
        SlotWriter w(out, kStartSlot);
        w.put_int(c.start_x);
        w.put_int(c.start_y);
    }
    {
        SlotWriter w(out, kPlayerSlot);
        if (const auto& p = c.player) {
            const auto [file, dir] = fitted(kPlayerSlotFixedBytes, slot_limit, p->theFile, p->theFileDir);
            w.put_bool(true);
            w.put_int(p->x);
            w.put_int(p->y);
            w.put_bool(p->visible);
            w.put_bool(p->animate_enabled);
            w.put_bool(p->animate_selected);
            w.put_string(file);
            w.put_string(dir);
            w.put_bool(p->itc_animate);
            w.put_bool(p->afc_animate);
            w.put_bool(p->afc2_animate);
            w.put_bool(p->advanced_fuel_calc);
            w.put_bool(p->chart_2d_present);
            w.put_int(p->chart_2d_present ? p->x_2d : 0);
            w.put_int(p->chart_2d_present ? p->y_2d : 0);
        } else {
            w.put_zeros(22);
        }
    }
    {
        SlotWriter w(out, kChooserSlot);
        if (const auto& d = c.chooser) {
            w.put_bool(true);
            w.put_int(d->x);
            w.put_int(d->y);
            w.put_bool(d->visible);
            for (bool v : d->selected) w.put_bool(v);
            for (bool v : d->enabled) w.put_bool(v);
        } else {
            w.put_zeros(18);
        }
    }
    for (const auto& [offset, slot] :
         {std::pair{kKnobAfcSlot, &c.knob_afc}, std::pair{kVcdAfcSlot, &c.vcd_afc}, std::pair{kItcSlot, &c.itc}}) {
        SlotWriter w(out, offset);
        if (*slot) {
            write_editor(w, **slot, slot_limit);
        } else {
            w.put_zeros(10);
        }
    }
    {
        SlotWriter w(out, kPmsSlot);
        const PmsRadioButtons absent_buttons;  // program 1 and the fuel table
        if (const auto& p = c.pms) {
            write_editor(w, p->editor, std::nullopt);
        } else {
            w.put_zeros(18);
        }
        const PmsRadioButtons& b = c.pms ? c.pms->buttons : absent_buttons;
        w.put_bool(b.program_1);
        w.put_bool(b.program_2);
        w.put_bool(b.program_3);
        w.put_bool(b.fuel);
        w.put_bool(b.timing);
    }
    return out;
}

KvtRead decode_kvt(const std::uint8_t* bytes, std::size_t size) {
    KvtRead result;
    KvtConfig& c = result.config;
    auto present = [&](std::int64_t offset, bool last, auto&& read_rest) -> bool {
        SlotReader in(bytes, size, offset, last);
        Reads r(in);
        bool is_present = false;
        if (r.b(is_present).result() == Got::end_of_file) {
            result.ends_in_slot = offset;
            return false;
        }
        if (!is_present) return true;
        const Got got = read_rest(r);
        if (got == Got::end_of_file) {
            result.ends_in_slot = offset;
            return false;
        }
        return true;
    };

    {
        SlotReader in(bytes, size, kStartSlot, false);
        Reads r(in);
        std::int32_t x = 0, y = 0;
        if (r.i(x).i(y).result() != Got::ok) {
            result.ends_in_slot = kStartSlot;
            return result;
        }
        c.start_x = x;
        c.start_y = y;
    }

    if (!present(kPlayerSlot, false, [&](Reads& r) {
            PlayerSlot p;
            const Got got = r.i(p.x)
                                .i(p.y)
                                .b(p.visible)
                                .b(p.animate_enabled)
                                .b(p.animate_selected)
                                .s(p.theFile)
                                .s(p.theFileDir)
                                .b(p.itc_animate)
                                .b(p.afc_animate)
                                .b(p.afc2_animate)
                                .b(p.advanced_fuel_calc)
                                .b(p.chart_2d_present)
                                .i(p.x_2d)
                                .i(p.y_2d)
                                .result();
            if (got == Got::ok) c.player = p;
            return got;
        })) {
        return result;
    }

    if (!present(kChooserSlot, false, [&](Reads& r) {
            ChooserSlot d;
            r.i(d.x).i(d.y).b(d.visible);
            for (bool& v : d.selected) r.b(v);
            for (bool& v : d.enabled) r.b(v);
            if (r.result() == Got::ok) c.chooser = d;
            return r.result();
        })) {
        return result;
    }

    for (const auto& [offset, slot] :
         {std::pair{kKnobAfcSlot, &c.knob_afc}, std::pair{kVcdAfcSlot, &c.vcd_afc}, std::pair{kItcSlot, &c.itc}}) {
        if (!present(offset, false, [&, slot = slot](Reads& r) {
                EditorSlot e;
                const Got got = read_editor(r, e);
                if (got == Got::ok) *slot = e;
                return got;
            })) {
            return result;
        }
    }

    present(kPmsSlot, true, [&](Reads& r) {
        PmsSlot p;
        read_editor(r, p.editor);
        r.b(p.buttons.program_1).b(p.buttons.program_2).b(p.buttons.program_3).b(p.buttons.fuel).b(p.buttons.timing);
        if (r.result() == Got::ok) c.pms = p;
        return r.result();
    });
    return result;
}

std::optional<std::string> read_kvt_file(const std::string& path, KvtRead& out) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return std::generic_category().message(errno);
    std::uint8_t bytes[kReadBytes];
    std::size_t size = 0;
    while (size < sizeof bytes) {
        const ssize_t got = ::read(fd, bytes + size, sizeof bytes - size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int err = errno;
            ::close(fd);
            return std::generic_category().message(err);
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    ::close(fd);
    out = decode_kvt(bytes, size);
    return std::nullopt;
}

std::optional<std::string> write_kvt_file(const std::string& path, const KvtConfig& config) {
    // Bytes of an existing file past what the slots cover stay as they were.
    std::vector<std::uint8_t> base;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
        base.resize(kKeptBytes);
        std::size_t size = 0;
        while (size < base.size()) {
            const ssize_t got = ::read(fd, base.data() + size, base.size() - size);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            size += static_cast<std::size_t>(got);
        }
        ::close(fd);
        base.resize(size);
    } else if (errno != ENOENT) {
        return std::generic_category().message(errno);
    }

    const std::vector<std::uint8_t> bytes = encode_kvt(config, std::move(base));
    AtomicFileWriter out(bytes.size() + 64);
    if (auto error = out.open(path)) return error;
    out.write(bytes.data(), bytes.size());
    return out.commit();
}

}  // namespace korv::player::kvt
