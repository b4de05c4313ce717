#include "Outcomes.h"

#include "ExitCode.h"

namespace cli {

namespace {

const char* const kNoAnswer = "весы не отвечают";
const char* const kNotReady = "весы ответили не готовностью к обмену";
const char* const kCommandRefused = "весы не приняли команду";
const char* const kStalled = "связь прервалась посреди записи: весы замолчали или линия отключена";
const char* const kNoMessages = "у весов, возможно, нет функции сообщений";

std::string TextOf(scale::PluOutcome o) {
    using O = scale::PluOutcome;
    switch (o) {
        case O::Ok:
            return "готово";
        case O::T1:
            return kNoAnswer;
        case O::T2:
            return kNotReady;
        case O::T3:
            return kCommandRefused;
        case O::T4:
            return "весы не приняли номер PLU";
        case O::Stalled:
            return kStalled;
    }
    return {};
}

std::string TextOf(scale::MsgOutcome o) {
    using O = scale::MsgOutcome;
    switch (o) {
        case O::Ok:
            return "готово";
        case O::F1:
            return kNoAnswer;
        case O::F2:
            return kNotReady;
        case O::F3:
        case O::F4:
            return kNoMessages;
        case O::F5:
            return "весы не приняли номер сообщения (обычно от 1 до 200)";
        case O::F6:
            return "весы не приняли сообщение";
        case O::Stalled:
            return kStalled;
    }
    return {};
}

std::string TextOf(scale::UploadOutcome o) {
    using O = scale::UploadOutcome;
    switch (o) {
        case O::Record:
        case O::EndOfList:
            return "готово";
        case O::U1:
            return kNoAnswer;
        case O::U2:
            return kNotReady;
        case O::U3:
            return kCommandRefused;
        case O::Stalled:
            return kStalled;
    }
    return {};
}

// The scale answered and said no; everything else on the line is the link's failure.
bool Refusal(const jobs::ExchangeOutcome& outcome) {
    using P = scale::PluOutcome;
    using M = scale::MsgOutcome;
    using U = scale::UploadOutcome;
    return outcome == jobs::ExchangeOutcome{P::T3} || outcome == jobs::ExchangeOutcome{P::T4} ||
           outcome == jobs::ExchangeOutcome{M::F3} || outcome == jobs::ExchangeOutcome{M::F4} ||
           outcome == jobs::ExchangeOutcome{M::F5} || outcome == jobs::ExchangeOutcome{M::F6} ||
           outcome == jobs::ExchangeOutcome{U::U3};
}

}  // namespace

std::string ExchangeText(const jobs::ExchangeOutcome& outcome) {
    return std::visit([](auto o) { return TextOf(o); }, outcome);
}

int ExitCodeOf(const jobs::ExchangeOutcome& outcome) {
    return Refusal(outcome) ? kRefused : kLinkFailed;
}

int ExitCodeOf(const jobs::Report& report) {
    if (report.stopped) return kStopped;
    if (!report.failure) return kDone;
    // Rows were checked before the run, so a failure is the line's or the scale's.
    if (!report.failure->outcome) return kBadFile;
    return ExitCodeOf(*report.failure->outcome);
}

std::string ReadoutText(scale::ReadoutOutcome outcome) {
    switch (outcome) {
        case scale::ReadoutOutcome::Ok:
            return "готово";
        case scale::ReadoutOutcome::NoAnswer:
            return kNoAnswer;
        case scale::ReadoutOutcome::Refused:
            return kNotReady;
        case scale::ReadoutOutcome::Stalled:
            return kStalled;
    }
    return {};
}

int ExitCodeOf(scale::ReadoutOutcome outcome) {
    return outcome == scale::ReadoutOutcome::Ok ? kDone : kLinkFailed;
}

}  // namespace cli
