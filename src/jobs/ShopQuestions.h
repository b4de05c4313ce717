#pragma once
// The questions of changed-only loads running on several scales at once, asked once for all the
// scales they concern: each scale's load waits with its question until every other load has
// either asked too or gone past its questions, and one answer then serves every scale that
// asked the same.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace jobs {

enum class QuestionKind {
    NothingKnown,       // nothing is known of the scale: send the whole list?
    KnownStale,         // the scale does not hold what is known: send the whole list?
    MessagesUnchecked,  // messages cannot be checked: send their changes anyway?
};

struct ScaleQuestion {
    int scale = 0;  // the scale's place in the run
    QuestionKind kind = QuestionKind::NothingKnown;
    int toSend = 0;      // MessagesUnchecked: the changed messages
    int rows = 0;        // MessagesUnchecked: the list's messages
    std::string detail;  // KnownStale: the position that did not match
};

// One question and every scale that asked it, in the order of the scales.
struct MergedQuestion {
    QuestionKind kind = QuestionKind::NothingKnown;
    std::vector<ScaleQuestion> asked;
};

// Questions of one kind become one, in the order the kinds are listed above.
std::vector<MergedQuestion> MergeQuestions(const std::vector<ScaleQuestion>& questions);

// Thread-safe: the loads ask on their own threads, the one who answers takes the questions on
// another.
class QuestionRound {
  public:
    // asked: called (on a load's thread) whenever Take may now give questions.
    QuestionRound(int scales, std::function<void()> asked);

    // A load's question; waits for its answer. False once cancelled.
    bool Ask(const ScaleQuestion& question);
    // The scale's load will ask nothing more: it is sending, or it has ended.
    void Settled(int scale);
    // The waiting questions, merged, once every scale has asked or settled; else nothing. Each
    // question is given once.
    std::vector<MergedQuestion> Take();
    void Answer(const MergedQuestion& question, bool yes);
    // Every waiting question, and every later one, is answered no.
    void Cancel();

  private:
    enum class State { Free, Waiting, Taken, Answered, Settled };
    struct Scale {
        State state = State::Free;
        ScaleQuestion question;
        bool yes = false;
    };
    bool RoundComplete() const;

    std::function<void()> asked_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    std::vector<Scale> scales_;
    bool cancelled_ = false;
};

}  // namespace jobs
