#include "ShopQuestions.h"

#include <algorithm>

namespace jobs {

std::vector<MergedQuestion> MergeQuestions(const std::vector<ScaleQuestion>& questions) {
    std::vector<MergedQuestion> merged;
    for (QuestionKind kind :
         {QuestionKind::NothingKnown, QuestionKind::KnownStale, QuestionKind::MessagesUnchecked}) {
        MergedQuestion one{kind, {}};
        for (const ScaleQuestion& q : questions)
            if (q.kind == kind) one.asked.push_back(q);
        std::stable_sort(
            one.asked.begin(), one.asked.end(),
            [](const ScaleQuestion& a, const ScaleQuestion& b) { return a.scale < b.scale; });
        if (!one.asked.empty()) merged.push_back(std::move(one));
    }
    return merged;
}

QuestionRound::QuestionRound(int scales, std::function<void()> asked)
    : asked_(std::move(asked)), scales_(static_cast<std::size_t>(std::max(scales, 0))) {}

bool QuestionRound::Ask(const ScaleQuestion& question) {
    const auto at = static_cast<std::size_t>(question.scale);
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (cancelled_ || at >= scales_.size()) return false;
        scales_[at].question = question;
        scales_[at].state = State::Waiting;
    }
    if (asked_) asked_();
    std::unique_lock<std::mutex> lock(mutex_);
    answered_.wait(lock, [&] { return cancelled_ || scales_[at].state == State::Answered; });
    const bool yes = !cancelled_ && scales_[at].yes;
    scales_[at].state = State::Free;
    return yes;
}

void QuestionRound::Settled(int scale) {
    const auto at = static_cast<std::size_t>(scale);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (at >= scales_.size()) return;
        scales_[at].state = State::Settled;
    }
    // The scales that asked may have been waiting for this one alone.
    if (asked_) asked_();
}

bool QuestionRound::RoundComplete() const {
    bool waiting = false;
    for (const Scale& s : scales_) {
        if (s.state == State::Free || s.state == State::Answered) return false;
        waiting = waiting || s.state == State::Waiting;
    }
    return waiting;
}

std::vector<MergedQuestion> QuestionRound::Take() {
    std::vector<ScaleQuestion> questions;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (cancelled_ || !RoundComplete()) return {};
        for (Scale& s : scales_) {
            if (s.state != State::Waiting) continue;
            s.state = State::Taken;
            questions.push_back(s.question);
        }
    }
    return MergeQuestions(questions);
}

void QuestionRound::Answer(const MergedQuestion& question, bool yes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const ScaleQuestion& q : question.asked) {
            const auto at = static_cast<std::size_t>(q.scale);
            if (at >= scales_.size() || scales_[at].state != State::Taken) continue;
            scales_[at].yes = yes;
            scales_[at].state = State::Answered;
        }
    }
    answered_.notify_all();
}

void QuestionRound::Cancel() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cancelled_ = true;
    }
    answered_.notify_all();
}

}  // namespace jobs
