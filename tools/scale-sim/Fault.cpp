#include "Fault.h"

#include <stdexcept>

namespace sim {

Fault NoMessages() {
    Fault f;
    f.kind = Kind::MsgDownload;
    f.step = Step::Accept;
    f.action = Action::Silence;
    f.persistent = true;
    return f;
}

namespace {

bool ActionFitsStep(Action action, Step step) {
    switch (action) {
        case Action::Silence:
            return true;
        case Action::Byte:
            return step == Step::Ready || step == Step::Accept || step == Step::Closing;
        case Action::Refuse:
            return step == Step::NumberCheck;
        case Action::Stall:
        case Action::HangUp:
            return step == Step::Record;
    }
    return false;
}

bool StepExists(Kind kind, Step step) {
    if (kind == Kind::Handshake) return false;
    if (kind != Kind::Readout) return true;
    return step == Step::Ready || step == Step::Record;
}

}  // namespace

void CheckFault(const Fault& f) {
    if (f.step == Step::Ready && f.kind != Kind::Any)
        throw std::invalid_argument("a fault at the ready step must be of kind Any");
    if (f.number != 0 && (f.step == Step::Ready || f.step == Step::Accept))
        throw std::invalid_argument("the item number is not known before the number check");
    if (f.kind == Kind::Readout && f.number != 0)
        throw std::invalid_argument("the readout carries no item number");
    if (!StepExists(f.kind, f.step)) throw std::invalid_argument("this exchange has no such step");
    if (!ActionFitsStep(f.action, f.step)) throw std::invalid_argument("action does not fit step");
    if (f.occurrence < 0 || f.number < 0) throw std::invalid_argument("negative count");
}

void FaultBook::Add(const Fault& fault) {
    CheckFault(fault);
    entries_.push_back(Entry{fault, 0, false});
}

void FaultBook::Count(Kind kind) {
    for (Entry& e : entries_)
        if (e.fault.kind == kind) ++e.seen;
}

std::optional<Fault> FaultBook::Take(Kind kind, Step step, int number) {
    for (Entry& e : entries_) {
        const Fault& f = e.fault;
        if (e.used || f.step != step) continue;
        if (f.kind != Kind::Any && f.kind != kind) continue;
        if (f.occurrence != 0 && f.occurrence != e.seen) continue;
        if (f.number != 0 && f.number != number) continue;
        if (!f.persistent) e.used = true;
        return f;
    }
    return std::nullopt;
}

}  // namespace sim
