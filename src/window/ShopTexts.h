#pragma once
// What the window of the shop's scales says: its columns' words, its merged questions and the one
// box at the end of a run that names each scale's outcome. No widget here, so tests read the
// texts as the operator will.

#include <QString>
#include <QStringList>
#include <vector>

#include "LastRuns.h"
#include "ShopQuestions.h"
#include "ShopRun.h"

namespace texts {

QString ShopScalesTitle();
QString ShopRunRefusal();  // a command of the main window during a run of the shop's scales
QString ShopCloseQuestion();
QString NoScaleChecked();
QString OwnPortOpens();  // the main window's port, open since "OK"
QString PortOpens();
QString LastRunText(const jobs::LastRun& run);
QString NoLastRun();
// What is known of a scale: records of each kind and since when ("" for a kind not known).
QString KnownText(int plus, const QString& plusSince, int messages, const QString& messagesSince);

// One question for every scale in it; ports by the scales' places in the run.
QString MergedQuestionText(const jobs::MergedQuestion& question, const QStringList& ports);

// The bar's text while a scale's run goes on, and once it has ended.
QString ShopProgressText(const jobs::ShopScaleState& state, jobs::ShopTask task);

// One line per scale, in the order of the run.
QString ShopEndText(const std::vector<jobs::ShopScaleState>& states, const QStringList& ports,
                    jobs::ShopTask task);
// True when every scale's run ended well.
bool ShopAllWell(const std::vector<jobs::ShopScaleState>& states, jobs::ShopTask task);

}  // namespace texts
