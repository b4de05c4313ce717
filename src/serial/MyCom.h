#pragma once
// TComm: one serial device, its line settings, and synchronous byte and string transfer.
//
// Error contract: no operation throws. A failing platform call latches its error code through
// SetError, which also calls OnComError when one is assigned; the operation then goes on as if
// it had succeeded. GetError returns the latched code and clears the latch. While a code is
// latched, InQue and OutQue do not report line errors.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "SerialPlatform.h"

enum TBaud : std::uint8_t {
    b110,
    b300,
    b1200,
    b2400,
    b4800,
    b9600,
    b14400,
    b38400,
    b56000,
    b57600,
    b115200,
    b128000,
    b256000
};
enum tStopBits : std::uint8_t { s10, s15, s20 };
enum tParitet : std::uint8_t { Zero, Odd, Even, Binary0, Binary1 };
using tDataBit = std::uint8_t;  // 4..8
enum tFlowControl : std::uint8_t { Hardware, XON_XOFF };
// Only two names, but any byte 0..254 is a 0-based port number: n opens "COM<n+1>".
enum tPort : std::uint8_t { COM1, COM2 };

class TComm;
using TComError = std::function<void(TComm& Sender, std::int32_t ECode)>;

// The DCB's rate of a baud; the parity and stop bits enumerations hold the DCB's own values.
std::uint32_t BaudRateOf(TBaud baud);

class TComm {
  public:
    // Create: the defaults 9600 baud, 1 stop bit, no parity, 8 data bits, Hardware, COM1,
    // XON 17, XOFF 19; not connected.
    explicit TComm(std::unique_ptr<serial::SerialPlatform> platform = serial::MakePosixPlatform());
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    // Line settings: writing one only stores it; the device changes at the next Connect.
    TComError OnComError;
    TBaud Baud = b9600;
    tStopBits StopBits = s10;
    tParitet Parity = Zero;
    tDataBit DataBits = 8;
    tFlowControl FlowControl = Hardware;
    tPort Port = COM1;
    char XON = 17;
    char XOFF = 19;

    // Closes a device opened earlier, opens the one Port names and applies the settings.
    void Connect();
    void SendByte(std::uint8_t value);
    // The byte read, or 0 when none came within the platform's read time-out.
    std::uint8_t GetByte();
    void SendString(const std::string& text);
    // Reads up to count bytes (at most 1600) into text.
    void GetString(std::int32_t count, std::string& text);
    std::int32_t GetIn();
    std::int32_t GetOut();
    std::int32_t InQue() { return GetIn(); }
    std::int32_t OutQue() { return GetOut(); }
    void SetEscCode(std::int32_t code);
    void SetEvent(std::int32_t mask);
    // True when mask equals the device's mask; mask then becomes the device's mask.
    bool GetEvent(std::int32_t& mask);
    // The low 16 bits of the DCB flag word, "0"/"1", bit 15 first.
    void GetFlags(std::string& text);
    std::int32_t GetError();
    void SetError(std::int32_t code);

    // Waits without spinning until input is waiting or timeoutMs has passed.
    bool WaitInput(int timeoutMs);

    bool Connected() const { return FConnected; }
    // Why the last Connect could not open the device (a serial::ErrorCode), 0 when it opened.
    // Kept apart from the latch, which Connect's later steps overwrite and GetError clears.
    std::int32_t OpenError() const { return FOpenError; }
    // "COM<n+1>" for the current Port.
    std::string DeviceName() const;

    static constexpr std::uint32_t kQueueSize = 1600;

  private:
    std::unique_ptr<serial::SerialPlatform> platform_;
    serial::ComStat FComStat;
    serial::Handle FHandle = serial::kInvalidHandle;
    std::int32_t FLastError = 0;
    std::int32_t FOpenError = 0;
    bool FConnected = false;
    bool FLowLatency = false;

    void ReportLastError();
    bool CloseDevice();
    void ApplyFlowControl(serial::Dcb& dcb) const;
    void RefreshStatus();
};
