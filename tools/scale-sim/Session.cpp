#include "Session.h"

#include <iterator>

namespace sim {

namespace {

constexpr std::uint8_t kRequest = 0xA5;
constexpr std::uint8_t kReady = 0x77;
constexpr std::uint8_t kAccept = 0x01;
constexpr std::uint8_t kClosing = 0x10;
constexpr std::uint8_t kReadoutCommand = 0x06;
constexpr std::uint8_t kPluDownloadCommand = 0x02;
constexpr std::uint8_t kMsgDownloadCommand = 0x00;
constexpr std::uint8_t kPluUploadCommand = 0x05;
// After an abandoned exchange the scale listens again once the PC has been quiet this long.
constexpr auto kResyncQuiet = std::chrono::milliseconds(100);
constexpr auto kForever = std::chrono::hours(24 * 365);

}  // namespace

Session::Session(Line& line, ScaleState& state, const Trace& trace, Clock::duration pcTimeout)
    : line_(line), state_(state), trace_(trace), pcTimeout_(pcTimeout) {}

void Session::Run() {
    bool requestWaiting = false;
    for (;;) {
        if (!requestWaiting && WaitForRequest() == Flow::Stop) break;
        BeginExchange();
        const Flow how = Serve();
        EndExchange(how);
        if (how == Flow::Stop) break;
        requestWaiting = how == Flow::Again;
        if (how == Flow::Abandon) Resync();
    }
}

Session::Flow Session::FromLine(Line::Result r) {
    switch (r) {
        case Line::Result::Ok:
            return Flow::Go;
        case Line::Result::Timeout:
            return Flow::Abandon;
        case Line::Result::Stopped:
        case Line::Result::Closed:
            return Flow::Stop;
    }
    return Flow::Stop;
}

Session::Flow Session::ReadByte(std::uint8_t& byte, Clock::duration timeout) {
    const Flow f = FromLine(line_.Read(byte, timeout));
    if (f != Flow::Go) return f;
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.received.push_back(byte);
    if (!state_.exchanges.empty() && !state_.exchanges.back().ended)
        state_.exchanges.back().fromPc.push_back(byte);
    state_.changed.notify_all();
    return Flow::Go;
}

Session::Flow Session::Send(const Bytes& bytes) {
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        Bytes& log = state_.exchanges.back().toPc;
        log.insert(log.end(), bytes.begin(), bytes.end());
    }
    return FromLine(line_.Write(bytes.data(), bytes.size()));
}

Session::Flow Session::SendStep(const char* what, const Bytes& bytes) {
    trace_.Step(Clock::now(), Direction::ToPc, what, bytes);
    return Send(bytes);
}

Session::Flow Session::WaitForRequest() {
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        state_.listening = true;
        state_.changed.notify_all();
    }
    Bytes stray;
    for (;;) {
        std::uint8_t b = 0;
        const Flow f = ReadByte(b, stray.empty() ? kForever : Clock::duration::zero());
        if (f == Flow::Stop) return f;
        if (f == Flow::Abandon || b == kRequest) {
            if (!stray.empty()) trace_.Step(Clock::now(), Direction::FromPc, "ignored", stray);
            stray.clear();
            if (f == Flow::Go) return Flow::Go;
            continue;
        }
        stray.push_back(b);
    }
}

void Session::BeginExchange() {
    kind_ = Kind::Handshake;
    number_ = 0;
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.listening = false;
    state_.faults.Count(Kind::Any);
    Exchange e;
    e.fromPc.push_back(kRequest);
    state_.exchanges.push_back(e);
}

void Session::EndExchange(Flow how) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    Exchange& e = state_.exchanges.back();
    e.kind = kind_;
    e.number = number_;
    e.complete = how == Flow::End || how == Flow::Again;
    e.ended = true;
    state_.changed.notify_all();
}

Session::Flow Session::Serve() {
    trace_.Step(Clock::now(), Direction::FromPc, "request", {kRequest});
    Flow f = Answer(Step::Ready, kReady, "ready");
    if (f != Flow::Go) return f;
    std::uint8_t command = 0;
    f = ReadByte(command, pcTimeout_);
    if (f != Flow::Go) return f;
    trace_.Step(Clock::now(), Direction::FromPc, "command", {command});
    switch (command) {
        case kRequest:
            return Flow::Again;
        case kReadoutCommand:
            return Readout();
        case kPluDownloadCommand:
            return PluDownload();
        case kMsgDownloadCommand:
            return MsgDownload();
        case kPluUploadCommand:
            return PluUpload();
        default:
            trace_.Note("unknown command, ignored");
            return Flow::End;
    }
}

void Session::Enter(Kind kind) {
    kind_ = kind;
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.faults.Count(kind);
}

void Session::Started(Kind kind, int number) {
    ExchangeStart start{kind, 0, number};
    ExchangeHook hook;
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        Exchange& current = state_.exchanges.back();
        current.kind = kind;
        current.number = number;
        for (const Exchange& e : state_.exchanges) start.occurrence += e.kind == kind;
        hook = state_.hook;
    }
    if (hook) hook(start);
}

std::optional<Fault> Session::FaultAt(Step step) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    std::optional<Fault> fault = state_.faults.Take(kind_, step, number_);
    if (fault) trace_.Note(std::string("fault at ") + StepName(step));
    return fault;
}

// Ready or Accept: the one-byte answer, unless a fault silences or replaces it.
Session::Flow Session::Answer(Step step, std::uint8_t normal, const char* what) {
    const std::optional<Fault> fault = FaultAt(step);
    if (fault && fault->action == Action::Silence) return Flow::Abandon;
    if (fault && fault->action == Action::Byte) {
        const Flow f = SendStep(what, {fault->byte});
        return f == Flow::Go ? Flow::End : f;
    }
    return SendStep(what, {normal});
}

Session::Flow Session::TakeNumber(const char* what) {
    Bytes number(2);
    const auto at = Clock::now();
    for (std::uint8_t& b : number) {
        const Flow f = ReadByte(b, pcTimeout_);
        if (f != Flow::Go) return f;
    }
    trace_.Step(at, Direction::FromPc, what, number);
    number_ = static_cast<int>(GetBigEndian(number.data(), 2));
    return Flow::Go;
}

// Go when the record follows, End when the number was refused.
Session::Flow Session::AnswerCheck(bool accepted) {
    const std::optional<Fault> fault = FaultAt(Step::NumberCheck);
    if (fault && fault->action == Action::Silence) return Flow::Abandon;
    if (fault && fault->action == Action::Refuse) accepted = false;
    Bytes check;
    PutBigEndian(check, accepted ? NumberCheck(static_cast<std::uint16_t>(number_)) : 0, 2);
    const Flow f = SendStep("number check", check);
    if (f != Flow::Go) return f;
    return accepted ? Flow::Go : Flow::End;
}

Session::Flow Session::MoveBytes(Direction dir, Bytes& data, std::size_t from, std::size_t to) {
    if (dir == Direction::ToPc)
        return Send(Bytes(data.begin() + long(from), data.begin() + long(to)));
    for (std::size_t i = from; i < to; ++i) {
        const Flow f = ReadByte(data[i], pcTimeout_);
        if (f != Flow::Go) return f;
    }
    return Flow::Go;
}

Session::Flow Session::RecordFault(const Fault& fault) {
    if (fault.action == Action::HangUp) {
        trace_.Note("hang-up");
        line_.LetPeerRead();
        {
            // Set before the close, so a PC that sees the hang-up finds the flag set.
            std::lock_guard<std::mutex> lock(state_.mutex);
            state_.hungUp = true;
        }
        line_.HangUp();
        return Flow::Stop;
    }
    if (fault.action == Action::Stall && fault.stallMs > 0) {
        trace_.Note("stall " + std::to_string(fault.stallMs) + " ms");
        return FromLine(line_.Pause(std::chrono::milliseconds(fault.stallMs)));
    }
    trace_.Note("stalled");
    return Flow::Abandon;
}

// The record's fields in line order; `data` holds what is sent, or receives what is read.
Session::Flow Session::MoveRecord(const std::vector<Field>& fields, Direction dir, Bytes& data) {
    data.resize(TotalWidth(fields));
    std::optional<Fault> fault = FaultAt(Step::Record);
    if (fault && fault->action == Action::Silence) fault->afterBytes = 0;
    std::size_t pos = 0;
    for (const Field& field : fields) {
        const std::size_t start = pos, end = pos + field.width;
        const auto at = Clock::now();
        Flow f = Flow::Go;
        while (pos < end && f == Flow::Go) {
            const bool faultHere = fault && fault->afterBytes == pos;
            if (faultHere) {
                trace_.Step(at, dir, field.name,
                            Bytes(data.begin() + long(start), data.begin() + long(pos)));
                f = RecordFault(*fault);
                fault.reset();
                continue;
            }
            const bool faultInside = fault && fault->afterBytes > pos && fault->afterBytes < end;
            const std::size_t stop = faultInside ? fault->afterBytes : end;
            f = MoveBytes(dir, data, pos, stop);
            pos = stop;
        }
        if (f != Flow::Go) return f;
        trace_.Step(at, dir, field.name,
                    Bytes(data.begin() + long(start), data.begin() + long(end)));
    }
    return fault && fault->afterBytes == pos ? RecordFault(*fault) : Flow::Go;
}

Session::Flow Session::Closing() {
    const std::optional<Fault> fault = FaultAt(Step::Closing);
    if (fault && fault->action == Action::Silence) return Flow::Abandon;
    const Flow f = SendStep("closing", {fault ? fault->byte : kClosing});
    return f == Flow::Go ? Flow::End : f;
}

Session::Flow Session::Readout() {
    Enter(Kind::Readout);
    Started(kind_, 0);
    Bytes values;
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        values = EncodeReadout(state_.display);
    }
    const Flow f = MoveRecord(ReadoutFields(), Direction::ToPc, values);
    return f == Flow::Go ? Flow::End : f;
}

Session::Flow Session::PluDownload() {
    Enter(Kind::PluDownload);
    Flow f = Answer(Step::Accept, kAccept, "accept");
    if (f == Flow::Go) f = TakeNumber("PLU number");
    if (f != Flow::Go) return f;
    Started(kind_, number_);
    int capacity;
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        capacity = state_.capacity;
    }
    f = AnswerCheck(number_ >= 1 && number_ <= capacity);
    Bytes record;
    if (f == Flow::Go) f = MoveRecord(PluDownloadFields(), Direction::FromPc, record);
    if (f != Flow::Go) return f;
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        state_.plus[static_cast<std::uint16_t>(number_)] =
            DecodePluDownload(static_cast<std::uint16_t>(number_), record);
    }
    return Closing();
}

Session::Flow Session::MsgDownload() {
    Enter(Kind::MsgDownload);
    Flow f = Answer(Step::Accept, kAccept, "accept");
    if (f == Flow::Go) f = TakeNumber("message number");
    if (f != Flow::Go) return f;
    Started(kind_, number_);
    f = AnswerCheck(number_ >= 1 && number_ <= kMaxMessageNumber);
    Bytes lines;
    if (f == Flow::Go) f = MoveRecord(MessageFields(), Direction::FromPc, lines);
    if (f != Flow::Go) return f;
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        state_.messages[static_cast<std::uint16_t>(number_)] =
            DecodeMessage(static_cast<std::uint16_t>(number_), lines);
    }
    return Closing();
}

Session::Flow Session::PluUpload() {
    Enter(Kind::PluUpload);
    Flow f = Answer(Step::Accept, kAccept, "accept");
    if (f == Flow::Go) f = TakeNumber("request number");
    if (f != Flow::Go) return f;
    Started(kind_, number_);
    std::optional<PluRecord> found;
    {
        std::lock_guard<std::mutex> lock(state_.mutex);
        if (number_ >= 1 && std::size_t(number_) <= state_.plus.size())
            found = std::next(state_.plus.begin(), number_ - 1)->second;
    }
    f = AnswerCheck(found.has_value());
    Bytes record;
    if (f == Flow::Go) record = EncodePluUpload(*found);
    if (f == Flow::Go) f = MoveRecord(PluUploadFields(), Direction::ToPc, record);
    return f == Flow::Go ? Closing() : f;
}

void Session::Resync() {
    trace_.Note("exchange abandoned; skipping input until the PC is quiet");
    Bytes skipped;
    std::uint8_t b = 0;
    Flow f;
    while ((f = ReadByte(b, kResyncQuiet)) == Flow::Go) skipped.push_back(b);
    if (!skipped.empty()) trace_.Step(Clock::now(), Direction::FromPc, "skipped", skipped);
}

}  // namespace sim
