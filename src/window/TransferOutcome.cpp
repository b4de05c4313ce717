#include "TransferOutcome.h"

#include <QPushButton>

#include "Com.h"
#include "GridView.h"
#include "Texts.h"

namespace {

using Release = LinkFailure::Release;

LinkFailure LinkLost(Release release, bool uploadButton = true) {
    return {BoxKind::Error, texts::LinkCheck(), release, uploadButton};
}

// A scale that falls silent after its first answer: the busy state is released after the box.
LinkFailure Stalled() {
    return LinkLost(Release::ButOnAfterBox);
}

LinkFailure NoMessages(BoxKind box, Release release) {
    return {box, texts::NoMessageFunction(), release, false};
}

LinkFailure PlainAfterButOn(const QString& text) {
    return {BoxKind::Plain, text, Release::ButOnBeforeBox, true};
}

}  // namespace

std::optional<LinkFailure> FailureOf(scale::PluOutcome outcome) {
    using O = scale::PluOutcome;
    switch (outcome) {
        case O::Ok:
            return std::nullopt;
        case O::T1:
            return LinkLost(Release::EnableAfterBox);
        case O::T2:
        case O::T3:
            return LinkLost(Release::ButOnBeforeBox);
        case O::T4:
            return PlainAfterButOn(texts::PluNumberRefused());
        case O::Stalled:
            return Stalled();
    }
    return std::nullopt;
}

std::optional<LinkFailure> FailureOf(scale::MsgOutcome outcome) {
    using O = scale::MsgOutcome;
    switch (outcome) {
        case O::Ok:
            return std::nullopt;
        case O::F1:
            return LinkLost(Release::EnableAfterBox, false);
        case O::F2:
            return LinkLost(Release::ButOnBeforeBox);
        case O::F3:
            return NoMessages(BoxKind::Plain, Release::EnableAfterBox);
        case O::F4:
            return NoMessages(BoxKind::Error, Release::ButOnBeforeBox);
        case O::F5:
            return PlainAfterButOn(texts::MessageNumberRefused());
        case O::F6:
            return PlainAfterButOn(texts::MessageNotSent());
        case O::Stalled:
            return Stalled();
    }
    return std::nullopt;
}

std::optional<LinkFailure> FailureOf(scale::UploadOutcome outcome) {
    using O = scale::UploadOutcome;
    switch (outcome) {
        case O::Record:
        case O::EndOfList:
            return std::nullopt;
        case O::U1:
            return LinkLost(Release::EnableAfterBox);
        case O::U2:
        case O::U3:
            return LinkLost(Release::ButOnBeforeBox);
        case O::Stalled:
            return Stalled();
    }
    return std::nullopt;
}

std::optional<LinkFailure> FailureOf(const jobs::ExchangeOutcome& outcome) {
    return std::visit([](auto exchange) { return FailureOf(exchange); }, outcome);
}

void TForm1::ReportLinkFailure(const LinkFailure& failure) {
    auto showBox = [&] {
        if (failure.box == BoxKind::Error)
            dialogs_->ErrorBox(failure.text);
        else
            dialogs_->PlainBox(failure.text);
    };
    auto release = [&] {
        if (failure.release == Release::EnableAfterBox) {
            StartBtn->setEnabled(true);
            Button21->setEnabled(true);
            Button22->setEnabled(failure.uploadButton);
        } else {
            ButOn();
        }
        StringGrid1->show();
        TransferFailed = true;
    };
    if (failure.release == Release::ButOnBeforeBox) {
        release();
        showBox();
    } else {
        showBox();
        release();
    }
}
