#include "Outcomes.h"

#include "ExitCode.h"

namespace cli {

namespace {

const char* const kNoAnswer = "весы не отвечают";
const char* const kNotReady = "весы ответили не готовностью к обмену";
const char* const kCommandRefused = "весы не приняли команду";
const char* const kStalled = "связь прервалась посреди записи: весы замолчали или линия отключена";
const char* const kNoMessages = "у весов, возможно, нет функции сообщений";
const char* const kDoneText = "готово";

// What the command line says of an outcome, and its exit code: the scale answered and said no
// (kRefused), or the line failed (kLinkFailed).
struct Said {
    const char* text;
    int exitCode;
};

Said SaidOf(scale::PluOutcome o) {
    using O = scale::PluOutcome;
    switch (o) {
        case O::Ok:
            return {kDoneText, kDone};
        case O::T1:
            return {kNoAnswer, kLinkFailed};
        case O::T2:
            return {kNotReady, kLinkFailed};
        case O::T3:
            return {kCommandRefused, kRefused};
        case O::T4:
            return {"весы не приняли номер PLU", kRefused};
        case O::Stalled:
            return {kStalled, kLinkFailed};
    }
    return {kStalled, kLinkFailed};
}

Said SaidOf(scale::MsgOutcome o) {
    using O = scale::MsgOutcome;
    switch (o) {
        case O::Ok:
            return {kDoneText, kDone};
        case O::F1:
            return {kNoAnswer, kLinkFailed};
        case O::F2:
            return {kNotReady, kLinkFailed};
        case O::F3:
        case O::F4:
            return {kNoMessages, kRefused};
        case O::F5:
            return {"весы не приняли номер сообщения (обычно от 1 до 200)", kRefused};
        case O::F6:
            return {"весы не приняли сообщение", kRefused};
        case O::Stalled:
            return {kStalled, kLinkFailed};
    }
    return {kStalled, kLinkFailed};
}

Said SaidOf(scale::UploadOutcome o) {
    using O = scale::UploadOutcome;
    switch (o) {
        case O::Record:
        case O::EndOfList:
            return {kDoneText, kDone};
        case O::U1:
            return {kNoAnswer, kLinkFailed};
        case O::U2:
            return {kNotReady, kLinkFailed};
        case O::U3:
            return {kCommandRefused, kRefused};
        case O::Stalled:
            return {kStalled, kLinkFailed};
    }
    return {kStalled, kLinkFailed};
}

Said SaidOf(scale::ReadoutOutcome o) {
    using O = scale::ReadoutOutcome;
    switch (o) {
        case O::Ok:
            return {kDoneText, kDone};
        case O::NoAnswer:
            return {kNoAnswer, kLinkFailed};
        // A readout refused is the line's failure: a scale that answers at all takes it.
        case O::Refused:
            return {kNotReady, kLinkFailed};
        case O::Stalled:
            return {kStalled, kLinkFailed};
    }
    return {kStalled, kLinkFailed};
}

Said SaidOf(const jobs::ExchangeOutcome& outcome) {
    return std::visit([](auto o) { return SaidOf(o); }, outcome);
}

}  // namespace

std::string ExchangeText(const jobs::ExchangeOutcome& outcome) {
    return SaidOf(outcome).text;
}

int ExitCodeOf(const jobs::ExchangeOutcome& outcome) {
    // An outcome that is no failure never ends a run; taken as one, it is the line's.
    const int code = SaidOf(outcome).exitCode;
    return code == kDone ? kLinkFailed : code;
}

int ExitCodeOf(const jobs::Report& report) {
    if (report.stopped) return kStopped;
    if (!report.failure) return kDone;
    // Rows were checked before the run, so a failure is the line's or the scale's.
    if (!report.failure->outcome) return kBadFile;
    return ExitCodeOf(*report.failure->outcome);
}

std::string ReadoutText(scale::ReadoutOutcome outcome) {
    return SaidOf(outcome).text;
}

int ExitCodeOf(scale::ReadoutOutcome outcome) {
    return SaidOf(outcome).exitCode;
}

}  // namespace cli
