#include "ScriptedLine.h"

Bytes Repeat(std::size_t count, std::uint8_t value) {
    return Bytes(count, value);
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

int ScriptedClock::Millisecond() {
    last_ = reads < static_cast<int>(readings_.size()) ? readings_[reads] : (last_ + step_) % 1000;
    ++reads;
    return last_;
}

ScriptedLine::ScriptedLine(std::vector<int> clockReadings)
    : clock(std::move(clockReadings)), comm(std::make_unique<FakePlatform>(line)) {
    comm.Connect();
    line->onWrite = [this](FakeLine& l) {
        const auto it = answers_.find(l.output.size());
        if (it != answers_.end())
            l.input.insert(l.input.end(), it->second.begin(), it->second.end());
    };
}

void ScriptedLine::AnswerAfter(std::size_t afterBytes, const Bytes& bytes) {
    Bytes& answer = answers_[afterBytes];
    answer.insert(answer.end(), bytes.begin(), bytes.end());
}
