// getPMS: the opening sequence and the memory download.
#include "nativeio/core/pms_download.h"

#include "nativeio/core/engines.h"
#include "nativeio/core/kline_waits.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/working_file.h"
#include "nativeio/include/korvio_files.h"
#include "platform/core/clock.h"

#include <cstdint>
#include <optional>

namespace korv::korvio {
namespace {

using pms::kReadReplySize;

constexpr int kReplyWaitSeconds = 5;
constexpr int kSettleMs = 1000;
constexpr int kRequestSettleMs = 50;

// After a failed exchange the rest of a stalled, late or shifted reply may
// still be on its way: the input is read and dropped until the line has been
// quiet this long (longer than a USB adapter holds bytes back, 16 ms by
// default), or the attempt fails when the unit never falls quiet.
constexpr std::int64_t kQuietBeforeResendUs = 20'000;
constexpr std::int64_t kQuietGiveUpUs = std::int64_t{kReplyWaitSeconds} * 1'000'000;

// A complete download is one dump record per block.
static_assert((pms::kLastAddress + 1 - pms::kFirstAddress) / pms::kBlockBytes == korvio_files::kPmsRecords);
static_assert(pms::kBlockTextSize == korvio_files::kPmsRecordSize);

int send_frame(int port, std::string_view payload) {
    const std::vector<std::uint8_t> bytes = pms::frame(payload);
    return SioPutBytes(port, bytes.data(), static_cast<int>(bytes.size()));
}

// Reads count bytes that are already queued; fewer when the port gives fewer.
int read_queued(int port, std::uint8_t* buffer, int count) {
    int got = 0;
    while (got < count) {
        const int n = SioRead(port, buffer + got, count - got);
        if (n <= 0) break;
        got += n;
    }
    return got;
}

int set_up_link(int port) {
    if (int r = SioOpen(port, 1024, 1024); r != kDone) return r;
    auto fail = [port](int code) {
        SioClose(port);
        return code;
    };
    if (int r = SioBaud(port, pms::kBaud); r <= 0)
        return fail(r < 0 ? r : system_failure(platform::serial::kSpeedRefused));
    SioParms(port, 0, 0, 8);
    if (SioDTR(port, 'S') <= 0 || SioRTS(port, 'S') <= 0) return fail(kSystemCallFailed);
    return kDone;
}

// The replies are only awaited: the unit needs the time, we need nothing else.
void run_opening_sequence(int port) {
    SioDTR(port, 'S');
    SioPutc(port, pms::kCr);
    SioWaitRx(port, pms::kWakeReplySize, kReplyWaitSeconds);
    SioDrainRx(port);
    for (std::size_t i = 0; i < pms::kOpeningCommands.size(); ++i) {
        const pms::OpeningCommand& command = pms::kOpeningCommands[i];
        send_frame(port, command.payload);
        SioWaitRx(port, command.reply_size, kReplyWaitSeconds);
        if (i + 1 < pms::kOpeningCommands.size()) SioDelay(kSettleMs);
    }
}

int clean_input(int port, bool settle) {
    if (!settle) return SioDrainRx(port);
    return wait_for_quiet_line(port, kQuietBeforeResendUs, platform::clock().now_us() + kQuietGiveUpUs, false);
}

// settle: the exchange before failed (or was not read), so the line is
// cleaned until quiet instead of only dropping what is queued.
bool read_block(int port, unsigned address, bool settle, std::uint8_t (&reply)[kReadReplySize]) {
    if (clean_input(port, settle) != kDone) return false;
    if (send_frame(port, pms::memory_read_payload(address, address + pms::kBlockBytes - 1)) != kDone) return false;
    SioDelay(kRequestSettleMs);
    if (SioWaitRx(port, kReadReplySize, kReplyWaitSeconds) != kDone) return false;
    if (read_queued(port, reply, kReadReplySize) != kReadReplySize) return false;
    return pms::judge_read_reply(reply, address) == pms::ReplyVerdict::Accepted;
}

// Each block in address order; one that fails kBlockAttempts times in a row
// ends the download and leaves temp.bcf short, which the caller reports.
// The files come empty from the caller.
int download_memory(int port, WorkingFile& dump, WorkingFile& trace) {
    SioDelay(kSettleMs);

    unsigned address = pms::kFirstAddress;
    int failures = 0;
    // The opening's replies are not read: what is left of them goes first.
    bool unsettled = true;
    while (address < pms::kLastAddress) {
        std::uint8_t reply[kReadReplySize];
        const bool read = read_block(port, address, unsettled, reply);
        unsettled = !read;
        if (read) {
            if (!dump.append(reply + pms::kBlockTextOffset, pms::kBlockTextSize) ||
                !trace.append(reply, kReadReplySize))
                return kWorkingFileFailed;
            address += pms::kBlockBytes;
            failures = 0;
        } else if (++failures >= pms::kBlockAttempts) {
            break;
        }
        if (SioRxQue(port) > 0) SioDrainRx(port);
    }
    const bool dump_closed = dump.close();
    const bool trace_closed = trace.close();
    return dump_closed && trace_closed ? kDone : kWorkingFileFailed;
}

}  // namespace

int run_pms_session(int port, int mode) {
    // The caller judges a download by the size of temp.bcf: whatever ends
    // this call, an older dump must not pass for this one, so both files
    // are made anew before anything else can fail. The opening alone
    // leaves an earlier download as it is.
    const bool download = mode == pms::kModeDownload;
    std::optional<WorkingFile> dump;
    std::optional<WorkingFile> trace;
    if (download) {
        dump.emplace(korvio_files::kPmsDumpName);
        trace.emplace(korvio_files::kPmsTraceName);
        if (!dump->ok() || !trace->ok()) return kWorkingFileFailed;
    }
    if (port == kDemoPort) {
        // No unit behind the demonstration port: a download yields empty files.
        if (download && !(dump->close() && trace->close())) return kWorkingFileFailed;
        return kDone;
    }
    // Index -1 would quietly change the open defaults instead.
    if (!find_slot(port)) return kBadPort;
    if (int r = set_up_link(port); r != kDone) return r;
    run_opening_sequence(port);
    const int result = download ? download_memory(port, *dump, *trace) : kDone;
    SioClose(port);
    return result;
}

}  // namespace korv::korvio
