#include "ScaleWindow.h"

#include <fcntl.h>
#include <unistd.h>

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <condition_variable>
#include <ostream>
#include <thread>

#include "CodePage1251.h"
#include "Deadline.h"
#include "GridModel.h"
#include "GridView.h"

namespace {

sim::Options LinkedAsCom2() {
    sim::Options options;
    options.link = "COM2";
    return options;
}

// Follows everything the window sent; the scale takes it for stray bytes.
const sim::Bytes kMarker = {0xFE, 0xEF};

bool EndsWithMarker(const sim::Bytes& bytes) {
    return bytes.size() >= kMarker.size() &&
           std::equal(kMarker.begin(), kMarker.end(), bytes.end() - kMarker.size());
}

}  // namespace

int FastClock::Millisecond() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
    return static_cast<int>(ms.count() * 5 % 1000);
}

bool ControlState::operator==(const ControlState& o) const {
    return readout == o.readout && com == o.com && download == o.download && upload == o.upload &&
           stopShown == o.stopShown && gridShown == o.gridShown &&
           progressShown == o.progressShown && transferFailed == o.transferFailed;
}

std::ostream& operator<<(std::ostream& out, const ControlState& s) {
    return out << "{readout " << s.readout << ", com " << s.com << ", download " << s.download
               << ", upload " << s.upload << ", stop " << s.stopShown << ", grid " << s.gridShown
               << ", progress " << s.progressShown << ", failed " << s.transferFailed << "}";
}

ScaleWindow::ScaleWindow(bool confirmPort) : scale(LinkedAsCom2()) {
    if (confirmPort) h.ConfirmPort(1);
    h.dialogs->onBox = [this](const ShownBox&) { atBox.push_back(Controls()); };
}

ControlState ScaleWindow::Controls() const {
    TForm1& f = *h.form;
    ControlState s;
    s.readout = h.Find<QPushButton>("StartBtn")->isEnabled();
    s.com = h.Find<QPushButton>("Button12")->isEnabled();
    s.download = h.Find<QPushButton>("Button21")->isEnabled();
    s.upload = h.Find<QPushButton>("Button22")->isEnabled();
    s.stopShown = !h.Find<QPushButton>("Button24")->isHidden();
    s.gridShown = !h.Find<GridView>("StringGrid1")->isHidden();
    s.progressShown =
        !h.Find<QLabel>("Label14")->isHidden() && !h.Find<QProgressBar>("ProgressBar1")->isHidden();
    s.transferFailed = f.ForTests().TransferFailed();
    return s;
}

void ScaleWindow::SetList(tables::ListKind kind, const std::vector<tables::Row>& rows) const {
    // As the operator starts one; the new-list commands ask nothing of an unedited table.
    EXPECT_FALSE(h.form->ForTests().TableModified());
    if (kind == tables::ListKind::Plu)
        h.form->Button18Click();
    else
        h.form->Button17Click();
    h.Model().Replace([&](tables::Table& t) {
        t.SetRowCount(static_cast<int>(rows.size()) + 2);
        for (std::size_t r = 0; r < rows.size(); ++r) t.SetRow(static_cast<int>(r) + 1, rows[r]);
        tables::WriteEndMarker(t, t.RowCount() - 1);
    });
}

std::vector<QString> ScaleWindow::BoxTexts() const {
    std::vector<QString> texts;
    for (const ShownBox& box : h.dialogs->boxes) texts.push_back(box.text);
    return texts;
}

std::vector<sim::Exchange> ScaleWindow::Ended(std::size_t expected) const {
    scale.WaitExchanges(expected, std::chrono::milliseconds(3000));
    return scale.Exchanges();
}

// A command sends all it sends before it returns, so a marker written now is the last thing
// on the line: once the scale has it, it has everything the window sent.
std::optional<sim::Bytes> ScaleWindow::SentSoFar() const {
    const std::string marker(kMarker.begin(), kMarker.end());
    if (h.form->ForTests().Comm().Connected()) {
        // Through the line-test panel, whose text is sent in code page 1251.
        auto* text = h.Find<QLineEdit>("Edit1");
        const QString typed = text->text();
        text->setText(tables::DecodeCp1251(marker));
        h.Click("BSend");
        text->setText(typed);
    } else {
        const int fd = ::open(scale.SlavePath().c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        const bool written =
            ::write(fd, marker.data(), marker.size()) == static_cast<ssize_t>(marker.size());
        ::close(fd);
        if (!written) return std::nullopt;
    }
    const serial::Deadline deadline(2000);
    std::size_t wanted = kMarker.size();
    while (scale.WaitReceived(wanted, std::chrono::milliseconds(deadline.RemainingMs()))) {
        sim::Bytes got = scale.Received();
        if (EndsWithMarker(got)) {
            got.resize(got.size() - kMarker.size());
            return got;
        }
        wanted = got.size() + 1;
    }
    return std::nullopt;
}

bool ScaleWindow::NothingMoreAfter(std::size_t bytes) const {
    const std::optional<sim::Bytes> sent = SentSoFar();
    return sent && sent->size() == bytes;
}

tables::Row PluRow(int plu) {
    return {std::to_string(plu), Cp(QStringLiteral("Сыр")), "", "12345", "5", "0", "123", "1", "0"};
}

tables::Row MsgRow(int number, std::vector<std::string> lines) {
    tables::Row row;
    row[0] = std::to_string(number);
    for (std::size_t i = 0; i < lines.size() && i < 8; ++i) row[i + 1] = lines[i];
    return row;
}

std::string Cp(const QString& text) {
    return tables::EncodeCp1251(text);
}

void RunDownload(ScaleWindow& w) {
    w.h.Click("Button21");
}

int LeaveLateReadout(ScaleWindow& w) {
    using namespace std::chrono_literals;
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
    };
    auto gate = std::make_shared<Gate>();
    w.scale.OnExchangeStart([gate](const sim::ExchangeStart& start) {
        if (start.kind != sim::Kind::Readout) return;
        std::unique_lock<std::mutex> lock(gate->mutex);
        gate->opened.wait_for(lock, 3s, [&] { return gate->open; });
    });
    const auto onBox = w.h.dialogs->onBox;
    w.h.dialogs->onBox = [gate, onBox](const ShownBox& box) {
        {
            std::lock_guard<std::mutex> lock(gate->mutex);
            gate->open = true;
        }
        gate->opened.notify_all();
        if (onBox) onBox(box);
    };
    w.h.Click("StartBtn");
    w.h.dialogs->onBox = onBox;
    w.scale.OnExchangeStart({});
    const TForm1::TestAccess port = w.h.form->ForTests();
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (port.InQue() < kReadoutBytes && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(10ms);
    w.scale.WaitExchanges(w.scale.Exchanges().size(), 3s);
    return port.InQue();
}

ProgressLog::ProgressLog(ScaleWindow& w, std::optional<sim::Kind> kind) {
    w.scale.OnExchangeStart([this, kind, bar = w.h.Find<QProgressBar>("ProgressBar1")](
                                const sim::ExchangeStart& start) {
        if (kind && start.kind != *kind) return;
        std::lock_guard<std::mutex> lock(mutex_);
        values_.push_back(bar->value());
    });
}

std::vector<int> ProgressLog::Values() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return values_;
}
