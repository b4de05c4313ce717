#include "MyCom.h"

#include <algorithm>
#include <vector>

using namespace serial;

std::uint32_t BaudRateOf(TBaud baud) {
    static constexpr std::uint32_t kRates[] = {110,   300,   1200,  2400,   4800,   9600,  14400,
                                               38400, 56000, 57600, 115200, 128000, 256000};
    return baud < std::size(kRates) ? kRates[baud] : 9600;
}

TComm::TComm(std::unique_ptr<SerialPlatform> platform) : platform_(std::move(platform)) {}

TComm::~TComm() {
    if (FConnected) CloseDevice();
}

bool TComm::CloseDevice() {
    if (FLowLatency) platform_->RestoreLatency(FHandle);
    FLowLatency = false;
    return platform_->CloseHandle(FHandle);
}

std::string TComm::DeviceName() const {
    return "COM" + std::to_string(static_cast<unsigned>(static_cast<std::uint8_t>(Port)) + 1);
}

void TComm::ReportLastError() {
    SetError(platform_->GetLastError());
}

void TComm::ApplyFlowControl(Dcb& dcb) const {
    if (FlowControl == XON_XOFF) {
        dcb.Flags |= kFOutX | kFInX;
        dcb.XonChar = XON;
        dcb.XoffChar = XOFF;
    } else {
        // Only the software flow control goes; the hardware handshake stays as the driver has it.
        dcb.Flags &= ~static_cast<std::uint32_t>(kFOutX | kFInX);
    }
}

void TComm::Connect() {
    FComStat.cbInQue = 0;
    if (FConnected && !CloseDevice()) ReportLastError();
    FHandle = platform_->CreateFile(DeviceName());
    FOpenError = FHandle == kInvalidHandle ? platform_->GetLastError() : 0;
    // Outside the error contract: a driver without low latency serves the line all the same.
    if (FHandle != kInvalidHandle) FLowLatency = platform_->AskLowLatency(FHandle);
    if (!platform_->SetupComm(FHandle, kQueueSize, kQueueSize)) ReportLastError();
    Dcb dcb;
    if (!platform_->GetCommState(FHandle, dcb)) ReportLastError();
    dcb.BaudRate = BaudRateOf(Baud);
    dcb.ByteSize = DataBits;
    dcb.Parity = Parity;
    dcb.StopBits = StopBits;
    FLastError = 0;
    ApplyFlowControl(dcb);
    if (!platform_->SetCommState(FHandle, dcb)) ReportLastError();
    FConnected = true;
}

void TComm::SendByte(std::uint8_t value) {
    std::uint32_t written = 0;
    if (!platform_->WriteFile(FHandle, &value, 1, written)) ReportLastError();
}

std::uint8_t TComm::GetByte() {
    std::uint8_t value = 0;
    std::uint32_t read = 0;
    if (!platform_->ReadFile(FHandle, &value, 1, read)) ReportLastError();
    return read == 1 ? value : 0;
}

void TComm::SendString(const std::string& text) {
    std::uint32_t written = 0;
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!platform_->WriteFile(FHandle, data, static_cast<std::uint32_t>(text.size()), written))
        ReportLastError();
}

void TComm::GetString(std::int32_t count, std::string& text) {
    text.clear();
    const std::uint32_t wanted =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(std::max(count, 0)), kQueueSize);
    std::vector<std::uint8_t> buffer(wanted);
    std::uint32_t read = 0;
    if (!platform_->ReadFile(FHandle, buffer.data(), wanted, read)) ReportLastError();
    text.assign(buffer.begin(), buffer.begin() + std::min(read, wanted));
}

void TComm::RefreshStatus() {
    std::uint32_t errors = 0;
    ComStat stat;
    if (!platform_->ClearCommError(FHandle, errors, stat)) return;
    FComStat = stat;
    if (FLastError == 0) SetError(static_cast<std::int32_t>(errors));
}

std::int32_t TComm::GetIn() {
    RefreshStatus();
    return static_cast<std::int32_t>(FComStat.cbInQue);
}

std::int32_t TComm::GetOut() {
    RefreshStatus();
    return static_cast<std::int32_t>(FComStat.cbOutQue);
}

void TComm::SetEscCode(std::int32_t code) {
    if (!platform_->EscapeCommFunction(FHandle, code)) ReportLastError();
}

void TComm::SetEvent(std::int32_t mask) {
    if (!platform_->SetCommMask(FHandle, static_cast<std::uint32_t>(mask))) ReportLastError();
}

bool TComm::GetEvent(std::int32_t& mask) {
    std::uint32_t current = 0;
    if (!platform_->GetCommMask(FHandle, current)) ReportLastError();
    const bool same = static_cast<std::uint32_t>(mask) == current;
    mask = static_cast<std::int32_t>(current);
    return same;
}

void TComm::GetFlags(std::string& text) {
    Dcb dcb;
    if (!platform_->GetCommState(FHandle, dcb)) ReportLastError();
    text.assign(16, '0');
    for (int bit = 0; bit < 16; ++bit)
        if (dcb.Flags & (1u << bit)) text[15 - bit] = '1';
}

std::int32_t TComm::GetError() {
    const std::int32_t code = FLastError;
    FLastError = 0;
    return code;
}

void TComm::SetError(std::int32_t code) {
    if (code == 0) return;
    FLastError = code;
    if (OnComError) OnComError(*this, code);
}

bool TComm::WaitInput(int timeoutMs) {
    return platform_->WaitForInput(FHandle, timeoutMs);
}
