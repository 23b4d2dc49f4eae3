#pragma once
// The cable-1 interface box: 15-byte frames (25, link byte, 05, the 5-byte
// OBD-II request, six zeros, check = sum of bytes 1-13) answered with
// 14-byte frames: 25, reply id, the ECU's 48 6B 10 41 PID, the data, zeros,
// and the sum of bytes 1-12. Byte 1 of a reply is 80 when the car gave no
// data. The link byte picks the car's bus: 04/84 one bus (reply id 84),
// 02/82 another (82), 01/10/81 the K-line (81), where 01 brings the K-line
// up and 10/81 need it up (it drops 5 s after the last exchange). A frame
// with a wrong check is answered with the K-line keyword in byte 2.
//
// The box is powered by DTR and held in reset by RTS; it is ready half a
// second after power comes, and shows it through carrier.
#include "sim/core/interface_box.h"
#include "sim/core/obd_trouble_codes.h"

namespace korv::sim {

enum class CarBus {
    KLine,     // protocol 1: keyword 08
    KLineKwp,  // protocol 10: keyword 8F
    Bus84,     // protocol 2
    Bus82,     // protocol 3
};

class Cable1Box final : public InterfaceBox {
public:
    static constexpr std::int64_t kBootUs = 500'000;
    static constexpr std::int64_t kKLineIdleUs = 5'000'000;

    explicit Cable1Box(Pacing pacing = Pacing::Instant, CarBus bus = CarBus::KLine,
                       std::int64_t turnaround_us = kDefaultTurnaroundUs);
    ~Cable1Box() override;

    // Times the box brought the K-line up (link byte 01).
    int kline_inits() const { return kline_inits_.load(); }

    // The car's stored codes, read with mode 03 and cleared with mode 04.
    ObdTroubleCodes& trouble_codes() { return trouble_codes_; }

    // Bytes the box passes on ahead of its mode-03 frames, each time: a
    // second ECU's late answer to the status request, line noise.
    void send_before_codes(std::vector<std::uint8_t> bytes);
    // A box that chatters: it passes the mode-03 frames on again every
    // every_us, up to times more times, until it hears the next frame.
    void chatter(std::int64_t every_us, int times);

protected:
    void hear(std::uint8_t byte) override;
    void on_line_change(const platform::serial::LineChange& change) override;

private:
    void take(const std::vector<std::uint8_t>& frame);
    // When the power now on came (-1: off), from the lines as recorded.
    std::int64_t powered_since() const;
    std::vector<std::uint8_t> reply_frame(std::uint8_t second, const std::vector<std::uint8_t>& body) const;
    // Mode 03 and 04 (cable1_box_trouble_codes.cpp).
    void answer_trouble_codes(std::uint8_t mode, std::uint8_t reply_id);
    std::vector<std::uint8_t> trouble_code_answer(std::uint8_t mode, std::uint8_t reply_id);

    const CarBus bus_;
    std::vector<std::uint8_t> frame_;
    bool dtr_ = false;  // as the line events told, for carrier
    bool rts_ = false;
    std::int64_t powered_at_us_ = -1;  // the power period frames were heard in
    std::int64_t kline_used_us_ = -1;  // -1: K-line down
    std::atomic<int> kline_inits_{0};
    ObdTroubleCodes trouble_codes_;
    std::mutex codes_mutex_;  // the test sets these while the box answers
    std::vector<std::uint8_t> before_codes_;
    AnswerRepeat chatter_;
};

}  // namespace korv::sim
