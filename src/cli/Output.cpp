#include "Output.h"

#include <QJsonDocument>
#include <cmath>

namespace cli {

std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string s = text;
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::string RowsText(int done, int rows) {
    return "строк: " + std::to_string(done) + (rows > 0 ? " из " + std::to_string(rows) : "");
}

namespace {

// Redrawing more often than this only costs CPU on a slow line.
constexpr std::chrono::milliseconds kRedrawEvery{200};

// The text with every control character but line end and tab shown as U+FFFD, so that bytes
// quoted from a file never act on the terminal.
std::string Printable(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // C1 controls in UTF-8 are C2 80..C2 9F; some terminals act on them too.
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F || c1) {
            shown += "\xEF\xBF\xBD";  // U+FFFD
            i += c1 ? 1 : 0;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

// "rows 120 of 200, 11.6 rows a second, 0:07 left", in Russian.
std::string ProgressText(int done, int rows, double seconds) {
    std::string text = RowsText(done, rows);
    if (seconds <= 0 || done == 0) return text;
    const double rate = done / seconds;
    text += ", " + Decimal(rate) + " в секунду";
    if (rows > done) {
        const long left = std::lround((rows - done) / rate);
        char clock[32];
        std::snprintf(clock, sizeof clock, "%ld:%02ld", left / 60, left % 60);
        text += ", осталось " + std::string(clock);
    }
    return text;
}

}  // namespace

Output::Output(bool json, bool outTaken, std::FILE* out, std::FILE* err, bool progress)
    : json_(json), outTaken_(outTaken), out_(out), err_(err), progress_(progress) {}

void Output::SayOrWarn(bool wentWell, const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::FILE* to = wentWell && !json_ && !outTaken_ ? out_ : err_;
    // Lines said while progress is drawn go above it; the progress is drawn again below.
    ClearLines();
    std::fputs((Printable(line) + "\n").c_str(), to);
    std::fflush(to);
    Draw(true);
}

void Output::Event(const QJsonObject& event) {
    if (!json_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    std::fputs(QJsonDocument(event).toJson(QJsonDocument::Compact).append('\n').constData(), out_);
    std::fflush(out_);
}

void Output::TrackPorts(const std::vector<std::string>& ports) {
    std::lock_guard<std::mutex> lock(mutex_);
    order_ = ports;
    for (const auto& port : ports) tracks_[port] = Track{};
}

void Output::Progress(const std::string& port, int done, int rows) {
    if (!progress_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    Track& track = tracks_[port];
    track.done = done;
    track.rows = rows;
    Draw(false);
}

void Output::Finished(const std::string& port, const std::string& summary) {
    if (!progress_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    tracks_[port].summary = summary;
    Draw(true);
}

void Output::EndProgress() {
    if (!progress_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    ClearLines();
    order_.clear();
}

void Output::ClearLines() {
    if (!progress_ || drawnLines_ == 0) return;
    std::fprintf(err_, "\x1b[%dA\x1b[J", drawnLines_);
    drawnLines_ = 0;
}

void Output::Draw(bool force) {
    if (!progress_ || order_.empty()) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < kRedrawEvery) return;
    lastDraw_ = now;
    ClearLines();
    for (const auto& port : order_) {
        const Track& t = tracks_[port];
        const double seconds = std::chrono::duration<double>(now - t.start).count();
        if (!t.summary.empty())
            std::fprintf(err_, "%s\n", Printable(t.summary).c_str());
        else
            std::fprintf(err_, "%s: %s\n", port.c_str(),
                         ProgressText(t.done, t.rows, seconds).c_str());
    }
    drawnLines_ = static_cast<int>(order_.size());
    std::fflush(err_);
}

}  // namespace cli
