// getPNKORV: receives a handheld's log into kvt1.tmp.
#include "nativeio/core/handheld_transfer.h"

#include "nativeio/core/engines.h"
#include "nativeio/core/host.h"
#include "nativeio/core/port_table.h"
#include "nativeio/core/working_file.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace korv::korvio {
namespace {

using namespace handheld;

class Transfer {
public:
    Transfer(const korvio_host& host, int port, WorkingFile& dump) : host_(host), port_(port), dump_(dump) {}

    // 0 when the transfer ended, also by a time-out between records; a
    // failure code when it could not go on or a record came spoilt.
    int run() {
        progress(1);
        const auto start = next_byte(kButtonWaitSeconds);
        if (!start) return kDone;  // nobody pressed the button
        progress(1);
        if (*start != kStartByte) return kDone;

        SioDrainRx(port_);
        if (int r = SioPutc(port_, kGoByte); r != kDone) return r;
        progress(1);

        std::vector<std::uint8_t> header;
        if (int r = receive_header(&header); r != kDone || header.empty()) return r;
        // Written whole: a header cut short would disagree with its records.
        if (!dump_.append(header.data(), header.size())) return kWorkingFileFailed;
        const std::vector<std::uint8_t> ids(header.begin() + korvio_files::kHandheldHeadBytes, header.end());
        return receive_records(header[0], ids);
    }

private:
    void progress(int n) { host_.update_pnkorv(host_.object, n); }

    std::optional<std::uint8_t> next_byte(int seconds) {
        if (SioWaitRx(port_, 1, seconds) != kDone) return std::nullopt;
        const int byte = SioGetc(port_);
        if (byte < 0) return std::nullopt;
        return static_cast<std::uint8_t>(byte);
    }

    // W, M and the ids, each id sent back. Leaves the header empty when the
    // handheld stops before it is complete.
    int receive_header(std::vector<std::uint8_t>* header) {
        const auto width = next_byte(kByteWaitSeconds);
        if (!width) return kDone;
        if (*width == 0 || *width > kMaxWidth) return kHandheldAnnouncementRefused;
        progress(1);
        const auto count = next_byte(kByteWaitSeconds);
        if (!count) return kDone;
        if (*count > kMaxChannels) return kHandheldAnnouncementRefused;

        std::vector<std::uint8_t> bytes{*width, *count};
        static_assert(korvio_files::kHandheldHeadBytes == 2, "the dump's head is W and M, then the ids");
        for (int i = 0; i < *count; ++i) {
            const auto id = next_byte(kByteWaitSeconds);
            if (!id) return kDone;
            bytes.push_back(*id);
            if (int r = SioPutc(port_, *id); r != kDone) return r;
            progress(1);
        }
        *header = std::move(bytes);
        return kDone;
    }

    int receive_records(int width, const std::vector<std::uint8_t>& ids) {
        const int size = width + 1;
        std::vector<std::uint8_t> record(static_cast<std::size_t>(size));
        for (;;) {
            if (int r = SioWaitRx(port_, size, kByteWaitSeconds); r != kDone) {
                if (r != kTimeOut) return r;
                // Silence before a record is how a handheld ends; silence
                // inside one cut it.
                const int queued = SioRxQue(port_);
                if (queued < 0) return queued;
                return queued == 0 ? kDone : kHandheldRecordSpoilt;
            }
            for (int got = 0; got < size;) {
                const int n = SioRead(port_, record.data() + got, size - got);
                if (n <= 0) return n < 0 ? n : kHandheldRecordSpoilt;
                got += n;
            }
            if (record[0] != kNotStored) {
                // Not acknowledged: the handheld must not go on as if it were.
                if (std::find(ids.begin(), ids.end(), record[0]) == ids.end()) return kHandheldRecordSpoilt;
                progress(width);
                if (!dump_.append(record.data(), record.size())) return kWorkingFileFailed;
            }
            SioPurge(port_);
            if (int r = SioPutc(port_, record[0]); r != kDone) return r;
        }
    }

    const korvio_host& host_;
    const int port_;
    WorkingFile& dump_;
};

// Opened first, then set: settings given to a closed port would be lost.
int set_up_link(int port) {
    // Index -1 would quietly change the open defaults instead.
    if (!find_slot(port)) return kBadPort;
    if (int r = SioOpen(port, 1024, 1024); r != kDone) return r;
    if (int r = SioBaud(port, kBaud); r <= 0) {
        SioClose(port);
        return r < 0 ? r : system_failure(platform::serial::kSpeedRefused);
    }
    SioParms(port, 0, 0, 8);
    SioFlowMode(port, 'N');
    return kDone;
}

}  // namespace

int run_handheld_transfer(const korvio_host* host, int port) {
    if (int r = look_up_transfer_host(host); r != kDone) return r;
    WorkingFile dump(korvio_files::kHandheldDumpName);
    if (!dump.ok()) return kWorkingFileFailed;

    if (port == kDemoPort) {
        // No handheld behind the demonstration port: it never starts.
        host->update_pnkorv(host->object, 1);
        return dump.close() ? kDone : kWorkingFileFailed;
    }
    if (int r = set_up_link(port); r != kDone) return r;
    const int result = Transfer(*host, port, dump).run();
    const bool saved = dump.close();
    SioClose(port);
    if (result != kDone) {
        // The caller may judge the transfer by the file alone.
        WorkingFile(korvio_files::kHandheldDumpName).close();
        return result;
    }
    return saved ? kDone : kWorkingFileFailed;
}

}  // namespace korv::korvio
