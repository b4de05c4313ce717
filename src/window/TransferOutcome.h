#pragma once
// How the window reports a failed exchange: the box, its text, and how the controls are left.
// The download and the upload share it, so each failure table lives in one place.

#include <QString>
#include <optional>

#include "Dialogs.h"
#include "Exchanges.h"
#include "Job.h"

struct LinkFailure {
    enum class Release {
        // Box, then only "Прочитать", the download button and the upload button enabled; the
        // driver releases the rest.
        EnableAfterBox,
        ButOnBeforeBox,
        ButOnAfterBox,
    };
    BoxKind box = BoxKind::Error;
    QString text;
    Release release = Release::ButOnBeforeBox;
    bool uploadButton = true;  // the upload button's state under EnableAfterBox
};

// Nothing for the outcomes that are no failure (Ok, Record, EndOfList).
std::optional<LinkFailure> FailureOf(scale::PluOutcome outcome);
std::optional<LinkFailure> FailureOf(scale::MsgOutcome outcome);
std::optional<LinkFailure> FailureOf(scale::UploadOutcome outcome);
std::optional<LinkFailure> FailureOf(const jobs::ExchangeOutcome& outcome);
