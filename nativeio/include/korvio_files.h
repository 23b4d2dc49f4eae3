#pragma once
// The working files libkorvio.so leaves in the current directory for the
// programs to read: each file's name and the layout its writer and its
// readers rely on, defined once for both sides. A C++ companion of
// korvio.h, which stays plain C; nothing here is part of the library's
// binary interface.

namespace korv::korvio_files {

// --- The logger sample dump (logdata) -------------------------------------
// The head: the number of logged ids as a 32-bit little-endian count, then
// the low byte of each id. Then every cycle one sample per id, in the
// head's order: the id byte and the value bytes, high byte first. Only
// whole cycles reach the file.
struct LoggerDumpFile {
    const char* name;
    int value_bytes;  // after each sample's id byte
    constexpr int sample_bytes() const { return 1 + value_bytes; }
};

inline constexpr int kLoggerDumpCountBytes = 4;
inline constexpr LoggerDumpFile kObdDump{"kvt1.tmp", 2};  // the OBD-II engines, cables 0-3
inline constexpr LoggerDumpFile kDsmDump{"kvt2.tmp", 1};  // the DSM engine, cable 4

// --- The handheld sample dump (getPNKORV) ---------------------------------
// Under the OBD-II dump's name, laid out its own way. The head: the value
// width W, the channel count M, then M id bytes. Then records of an id byte
// and W value bytes, high byte first.
inline constexpr const char* kHandheldDumpName = kObdDump.name;
inline constexpr int kHandheldHeadBytes = 2;     // W and M, before the ids
inline constexpr int kMaxHandheldChannels = 52;  // the most ids a handheld announces

// --- The trouble-code report (getDTC) -------------------------------------
// One byte with the number of codes, then text lines, each ended by a line
// feed: the count line (or the "no codes" line) first, then one per code.
inline constexpr const char* kDtcReportName = "dtc.tmp";
inline constexpr int kDtcCountBytes = 1;  // the count, signed

// --- The PMS memory download (getPMS, download mode) ----------------------
// The dump: per block of the unit's memory, in address order, a record of
// the block's address in 4 hexadecimal digits and its 16 bytes in 32, upper
// case, nothing between. A download cut short leaves fewer records, so only
// a dump of kPmsDumpSize bytes is complete. The trace: every accepted reply
// of the unit as it came, 43 bytes each.
inline constexpr const char* kPmsDumpName = "temp.bcf";
inline constexpr const char* kPmsTraceName = "stream.bcf";
inline constexpr int kPmsAddressDigits = 4;
inline constexpr int kPmsDataDigits = 32;
inline constexpr int kPmsRecordSize = kPmsAddressDigits + kPmsDataDigits;
inline constexpr int kPmsRecords = 512;
inline constexpr int kPmsDumpSize = kPmsRecords * kPmsRecordSize;  // 18432

}  // namespace korv::korvio_files
