#pragma once
// The port table's operations: a fixed table of 128 serial-port slots
// (slot 0 is COM1) addressed by index. Every operation runs on the calling
// thread, returns at once unless it is a wait, and reports by its result:
// -1 index outside 0-127, -3 slot closed, -103 a system call failed (the
// error is kept for SioWinError); the other results are each operation's own.
// Letters are compared on their low byte.
#include <cstdint>

namespace korv::korvio {

inline constexpr int kSlotCount = 128;

// Index -1 selects the defaults of the next open (open, baud, parameters).
inline constexpr int kDefaults = -1;

int SioOpen(int port, int in_queue, int out_queue);
int SioClose(int port);           // non-zero = closed
int SioBaud(int port, int baud);  // non-zero = done
int SioParms(int port, int parity, int stop_bits, int byte_size);
int SioFlowMode(int port, int letter);  // 'H', 'N', 'S'
int SioDTR(int port, int letter);       // 'S', 'C' non-zero = done; 'R'
int SioRTS(int port, int letter);

int SioPutc(int port, int byte);
int SioWrite(int port, const std::uint8_t* buffer, int count);  // bytes written
int SioPutBytes(int port, const std::uint8_t* buffer, int count);
int SioGetc(int port);                                   // 0-255; -100 nothing waits
int SioRead(int port, std::uint8_t* buffer, int count);  // bytes read
int SioUnGetc(int port, int byte);
int SioPurge(int port);
int SioDrainRx(int port);
int SioTxQue(int port);
int SioRxQue(int port);

int SioError(int port, int mask);
int SioCTS(int port);                // 0x10 when asserted
int SioDSR(int port);                // 0x20
int SioRI(int port);                 // 0x40
int SioDCD(int port);                // 0x80
int SioBreak(int port, int letter);  // 'A', 'C', 'D'
int SioWinError(char* buffer, int size);
int SioUartRead(int port, int offset);

// Stands in for a window and its message queue: the event thread posts its
// message here. No post function is window 0.
struct EventWindow {
    void (*post)(void* target, int message, int wparam, int lparam) = nullptr;
    void* target = nullptr;
};
// Comm events a wait can ask for.
inline constexpr unsigned kEventRxChar = 0x0001;
inline constexpr unsigned kEventRxFlag = 0x0002;
inline constexpr unsigned kEventTxEmpty = 0x0004;
inline constexpr unsigned kEventCts = 0x0008;
inline constexpr unsigned kEventDsr = 0x0010;
inline constexpr unsigned kEventCarrier = 0x0020;
inline constexpr unsigned kEventBreak = 0x0040;
inline constexpr unsigned kEventError = 0x0080;
inline constexpr unsigned kEventRing = 0x0100;
inline constexpr unsigned kKnownEvents = 0x01FF;

int SioSetEvent(int port, EventWindow window, int message, unsigned mask);
int SioWaitEvent(int port, unsigned* mask);  // 1 seen (mask := events), 0 failed

int SioDelay(int milliseconds);
int SioWaitRx(int port, int count, int seconds);  // 0; -1 time-out
int SioSendPaced(int port, const std::uint8_t* buffer, int count);
int SioRaiseLines(int port);
int SioResetPort0();

// How long SioSendPaced waits for carrier before giving up with -1.
inline constexpr int kCarrierWaitMs = 5000;

}  // namespace korv::korvio
