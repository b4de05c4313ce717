#pragma once
// The exchanges the scale answers, the steps at which it acts, and the log of what it saw.

#include "Records.h"

namespace sim {

enum class Kind {
    Any,          // faults only: any exchange, counted by its request byte
    Handshake,    // ended before a known command byte: silent, refused, or unknown command
    Readout,      // 0x06
    PluDownload,  // 0x02
    MsgDownload,  // 0x00
    PluUpload,    // 0x05
};

// The scale's own steps, in the order they come.
enum class Step {
    Ready,        // 0x77 in answer to 0xA5
    Accept,       // 0x01 in answer to the command byte (not in the readout)
    NumberCheck,  // two bytes in answer to the item number
    Record,       // the record bytes: read in a download, sent in an upload or readout
    Closing,      // the closing byte 0x10
};

const char* KindName(Kind kind);
const char* StepName(Step step);

struct Exchange {
    Kind kind = Kind::Handshake;
    int number = 0;         // the PLU number, message number or request number the PC sent
    Bytes fromPc;           // every byte of this exchange from the PC, 0xA5 first
    Bytes toPc;             // every byte the scale sent
    bool complete = false;  // ran to its last byte, answers as faults made them
    bool ended = false;     // the scale is done with it, complete or not
};

// Handed to the exchange hook when the exchange is known: at the command byte of a readout,
// at the item number of the others.
struct ExchangeStart {
    Kind kind;
    int occurrence;  // 1 for the first exchange of this kind since the last ClearReceived
    int number;      // as in Exchange
};

}  // namespace sim
