#include "FakePlatform.h"

using namespace serial;

bool FakePlatform::Usable(Handle h, const char* call) {
    if (h == kInvalidHandle ? !line_->answersUnopened : h != open_) {
        last_ = kErrorInvalidHandle;
        return false;
    }
    if (line_->failing.count(call)) {
        last_ = line_->failCode;
        return false;
    }
    return true;
}

Handle FakePlatform::CreateFile(const std::string& name) {
    line_->opened.push_back(name);
    if (line_->absent.count(name)) {
        last_ = kErrorFileNotFound;
        return kInvalidHandle;
    }
    if (line_->denied.count(name)) {
        last_ = kErrorAccessDenied;
        return kInvalidHandle;
    }
    open_ = next_++;
    return open_;
}

bool FakePlatform::CloseHandle(Handle h) {
    if (!Usable(h, "CloseHandle")) return false;
    ++line_->closes;
    open_ = kInvalidHandle;
    return true;
}

bool FakePlatform::SetupComm(Handle h, std::uint32_t, std::uint32_t) {
    return Usable(h, "SetupComm");
}

bool FakePlatform::GetCommState(Handle h, Dcb& dcb) {
    if (!Usable(h, "GetCommState")) return false;
    dcb = line_->dcb;
    return true;
}

bool FakePlatform::SetCommState(Handle h, const Dcb& dcb) {
    if (!Usable(h, "SetCommState")) return false;
    line_->dcb = dcb;
    return true;
}

bool FakePlatform::ReadFile(Handle h, std::uint8_t* buffer, std::uint32_t count,
                            std::uint32_t& read) {
    read = 0;
    if (!Usable(h, "ReadFile")) return false;
    while (read < count && !line_->input.empty()) {
        buffer[read++] = line_->input.front();
        line_->input.pop_front();
    }
    return true;
}

bool FakePlatform::WriteFile(Handle h, const std::uint8_t* data, std::uint32_t count,
                             std::uint32_t& written) {
    written = 0;
    if (!Usable(h, "WriteFile")) return false;
    line_->output.insert(line_->output.end(), data, data + count);
    written = count;
    if (line_->onWrite) line_->onWrite(*line_);
    return true;
}

bool FakePlatform::ClearCommError(Handle h, std::uint32_t& errors, ComStat& stat) {
    errors = 0;
    if (!Usable(h, "ClearCommError")) return false;
    if (line_->onStatus) line_->onStatus(*line_);
    errors = line_->pendingLineErrors;
    line_->pendingLineErrors = 0;
    stat.cbInQue = static_cast<std::uint32_t>(line_->input.size());
    stat.cbOutQue = line_->outQueue;
    return true;
}

bool FakePlatform::EscapeCommFunction(Handle h, std::int32_t code) {
    line_->escapeCodes.push_back(code);
    return Usable(h, "EscapeCommFunction");
}

bool FakePlatform::SetCommMask(Handle h, std::uint32_t mask) {
    if (!Usable(h, "SetCommMask")) return false;
    line_->eventMask = mask;
    return true;
}

bool FakePlatform::GetCommMask(Handle h, std::uint32_t& mask) {
    if (!Usable(h, "GetCommMask")) return false;
    mask = line_->eventMask;
    return true;
}

bool FakePlatform::WaitForInput(Handle h, int timeoutMs) {
    ++line_->waits;
    line_->waitMs = timeoutMs;
    if (line_->onWait) line_->onWait(*line_);
    return Usable(h, "WaitForInput") && !line_->input.empty();
}

bool FakePlatform::AskLowLatency(Handle h) {
    ++line_->lowLatencyAsks;
    return h == open_ && !line_->lowLatencyRefused;
}

void FakePlatform::RestoreLatency(Handle h) {
    if (h == open_) ++line_->latencyRestores;
}
