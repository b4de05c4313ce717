#include "Exchange.h"

namespace sim {

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Any:
            return "any";
        case Kind::Handshake:
            return "handshake";
        case Kind::Readout:
            return "readout";
        case Kind::PluDownload:
            return "PLU download";
        case Kind::MsgDownload:
            return "message download";
        case Kind::PluUpload:
            return "PLU upload";
    }
    return "?";
}

const char* StepName(Step step) {
    switch (step) {
        case Step::Ready:
            return "ready";
        case Step::Accept:
            return "accept";
        case Step::NumberCheck:
            return "number check";
        case Step::Record:
            return "record";
        case Step::Closing:
            return "closing";
    }
    return "?";
}

}  // namespace sim
