#pragma once
// The scale's side of the exchanges, run on the scale's thread until stopped or hung up.

#include <optional>

#include "Fault.h"
#include "Line.h"
#include "ScaleState.h"
#include "Trace.h"
#include "Wire.h"

namespace sim {

class Session {
  public:
    // pcTimeout: how long the scale waits for the PC's next byte within an exchange before it
    // gives the exchange up.
    Session(Line& line, ScaleState& state, const Trace& trace, Clock::duration pcTimeout);
    void Run();

  private:
    enum class Flow {
        Go,       // carry on with the exchange
        End,      // the exchange is over as the scale meant it
        Abandon,  // the scale fell silent or the PC did; skip what the PC still sends
        Again,    // a request byte came where a command byte was due
        Stop,     // stopped, hung up or the line closed
    };

    Flow WaitForRequest();
    void BeginExchange();
    void EndExchange(Flow how);
    Flow Serve();
    Flow Readout();
    Flow PluDownload();
    Flow MsgDownload();
    Flow PluUpload();

    void Enter(Kind kind);
    void Started(Kind kind, int number);
    std::optional<Fault> FaultAt(Step step);
    Flow Answer(Step step, std::uint8_t normal, const char* what);
    Flow TakeNumber(const char* what);
    Flow AnswerCheck(bool accepted);
    Flow MoveRecord(const std::vector<Field>& fields, Direction dir, Bytes& data);
    Flow MoveBytes(Direction dir, Bytes& data, std::size_t from, std::size_t to);
    Flow RecordFault(const Fault& fault);
    Flow Closing();

    Flow ReadByte(std::uint8_t& byte, Clock::duration timeout);
    Flow Send(const Bytes& bytes);
    Flow SendStep(const char* what, const Bytes& bytes);
    Flow FromLine(Line::Result r);
    void Resync();

    Line& line_;
    ScaleState& state_;
    const Trace& trace_;
    Clock::duration pcTimeout_;
    Kind kind_ = Kind::Handshake;
    int number_ = 0;
};

}  // namespace sim
