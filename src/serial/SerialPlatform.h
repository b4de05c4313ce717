#pragma once
// The few serial-port services TComm needs, shaped after the Win32 communications calls the
// component was written for, so TComm can follow them step by step. Every call reports failure
// by returning false; the cause is then given by LastError() as a Win32-style error code.

#include <cstdint>
#include <memory>
#include <string>

namespace serial {

using Handle = std::intptr_t;
constexpr Handle kInvalidHandle = -1;

// Win32 error codes the component latches.
enum ErrorCode : std::int32_t {
    kErrorFileNotFound = 2,
    kErrorAccessDenied = 5,
    kErrorInvalidHandle = 6,
    kErrorGenFailure = 31,
    kErrorSharingViolation = 32,
    kErrorNotSupported = 50,
    kErrorInvalidParameter = 87,
    kErrorIoDevice = 1117,
};

// Line-error flags as ClearCommError reports them.
enum LineErrorFlag : std::uint32_t {
    kCeRxOver = 0x0001,
    kCeOverrun = 0x0002,
    kCeRxParity = 0x0004,
    kCeFrame = 0x0008,
    kCeBreak = 0x0010,
};

// EscapeCommFunction codes.
enum EscapeCode : std::int32_t {
    kSetXoff = 1,
    kSetXon = 2,
    kSetRts = 3,
    kClrRts = 4,
    kSetDtr = 5,
    kClrDtr = 6,
};

// Event-mask bits (EV_ values) as SetCommMask and GetCommMask carry them.
enum EventBit : std::uint32_t {
    kEvCts = 0x0008,
    kEvDsr = 0x0010,
    kEvRlsd = 0x0020,
    kEvErr = 0x0080,
    kEvRing = 0x0100,
};

// Bits of the DCB flag word.
enum DcbFlag : std::uint32_t {
    kFBinary = 1u << 0,
    kFParity = 1u << 1,
    kFOutxCtsFlow = 1u << 2,
    kFOutxDsrFlow = 1u << 3,
    kFDtrControlMask = 3u << 4,
    kFDsrSensitivity = 1u << 6,
    kFTxContinueOnXoff = 1u << 7,
    kFOutX = 1u << 8,
    kFInX = 1u << 9,
    kFErrorChar = 1u << 10,
    kFNull = 1u << 11,
    kFRtsControlMask = 3u << 12,
    kFAbortOnError = 1u << 14,
};

// The device control block: the line settings of an open device.
struct Dcb {
    std::uint32_t BaudRate = 9600;
    std::uint32_t Flags = kFBinary;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    char XonChar = 0x11;
    char XoffChar = 0x13;
};

// Queue counts as ClearCommError fills them.
struct ComStat {
    std::uint32_t Flags = 0;
    std::uint32_t cbInQue = 0;
    std::uint32_t cbOutQue = 0;
};

class SerialPlatform {
  public:
    virtual ~SerialPlatform() = default;

    // Opens a device by its COM name. Returns kInvalidHandle when it cannot.
    virtual Handle CreateFile(const std::string& name) = 0;
    virtual bool CloseHandle(Handle h) = 0;
    virtual bool SetupComm(Handle h, std::uint32_t inQueue, std::uint32_t outQueue) = 0;
    virtual bool GetCommState(Handle h, Dcb& dcb) = 0;
    virtual bool SetCommState(Handle h, const Dcb& dcb) = 0;
    // Reads up to count bytes; returns what arrived within the platform's read time-out.
    virtual bool ReadFile(Handle h, std::uint8_t* buffer, std::uint32_t count,
                          std::uint32_t& read) = 0;
    virtual bool WriteFile(Handle h, const std::uint8_t* data, std::uint32_t count,
                           std::uint32_t& written) = 0;
    virtual bool ClearCommError(Handle h, std::uint32_t& errors, ComStat& stat) = 0;
    virtual bool EscapeCommFunction(Handle h, std::int32_t code) = 0;
    virtual bool SetCommMask(Handle h, std::uint32_t mask) = 0;
    virtual bool GetCommMask(Handle h, std::uint32_t& mask) = 0;
    // Waits until input is waiting or timeoutMs has passed, without spinning. True when input
    // is waiting. Not a Win32 call: it lets callers await an answer without burning a core.
    virtual bool WaitForInput(Handle h, int timeoutMs) = 0;
    virtual std::int32_t GetLastError() = 0;

    // Not Win32 calls either. A USB adapter holds a short answer back for its latency timer
    // (16 ms by default) before the PC sees it, several times a record. Asking for low latency
    // shortens that where the driver can; true when it took the request, and then
    // RestoreLatency puts the earlier setting back before the close. A refusal is no failure
    // and leaves GetLastError alone.
    virtual bool AskLowLatency(Handle) { return false; }
    virtual void RestoreLatency(Handle) {}
};

// How long a read waits for the bytes it asks for; it stands in for the driver time-outs the
// component never sets, so no read blocks for ever. Tests shorten it.
constexpr int kReadTimeoutMs = 2000;

// The termios implementation for this machine.
std::unique_ptr<SerialPlatform> MakePosixPlatform(int readTimeoutMs = kReadTimeoutMs);
// The same, opening `device` whatever COM name it is asked for: a port given by its path.
std::unique_ptr<SerialPlatform> MakePosixPlatform(const std::string& device,
                                                  int readTimeoutMs = kReadTimeoutMs);

}  // namespace serial
