#include "ShopScales.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>
#include <utility>

#include "PortMap.h"
#include "PortProblemText.h"
#include "ShopTexts.h"
#include "Texts.h"
#include "Widgets.h"

namespace {

enum Col { Port, Device, Opens, LastRun, Known, Progress, Columns };

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QPushButton(caption, parent), QString::fromLatin1(name));
}

// A close asked for from inside a box's answer or a run's end comes once the events are served.
void CloseLater(QWidget* window) {
    QMetaObject::invokeMethod(
        window, [window] { window->close(); }, Qt::QueuedConnection);
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(text);
    return item;
}

}  // namespace

ShopScalesWindow::ShopScalesWindow(ShopWindowContext context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(std::move(context)) {
    setObjectName(QStringLiteral("ShopScales"));
    setWindowTitle(texts::ShopScalesTitle());
    table_ = Named(new QTableWidget(0, Columns, this), QStringLiteral("ShopScalesTable"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Порт"), QStringLiteral("Устройство"), QStringLiteral("Открывается"),
         QStringLiteral("Последний обмен"), QStringLiteral("Известно"), QStringLiteral("Ход")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    sendChanges_ = Button(this, "ShopSendChanges", QStringLiteral("Переслать изменения"));
    sendAll_ = Button(this, "ShopSendAll", QStringLiteral("Переслать всё"));
    read_ = Button(this, "ShopRead", QStringLiteral("Прочитать"));
    stop_ = Button(this, "ShopStop", QStringLiteral("Стоп"));
    refresh_ = Button(this, "ShopRefresh", QStringLiteral("Обновить"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {sendChanges_, sendAll_, read_, stop_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(refresh_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    connect(sendChanges_, &QPushButton::clicked, this,
            [this] { Start(jobs::ShopTask::SendChanges); });
    connect(sendAll_, &QPushButton::clicked, this,
            [this] { Start(jobs::ShopTask::SendWholeList); });
    connect(read_, &QPushButton::clicked, this, [this] { Start(jobs::ShopTask::ReadDisplay); });
    connect(stop_, &QPushButton::clicked, this, &ShopScalesWindow::StopClick);
    connect(refresh_, &QPushButton::clicked, this, &ShopScalesWindow::Refresh);
    resize(900, 320);
    SetRunning(false);
    Refresh();
}

ShopScalesWindow::~ShopScalesWindow() {
    // The loads end after their current records before anything they report to is gone.
    run_.reset();
}

void ShopScalesWindow::Refresh() {
    if (Running()) return;
    // A scale stays checked wherever it is listed now.
    std::set<std::string> checked;
    for (int r : CheckedRows()) checked.insert(rows_[static_cast<std::size_t>(r)].name);
    rows_ = ShopScaleRows(context_.ownPort ? context_.ownPort() : std::nullopt);
    table_->setRowCount(static_cast<int>(rows_.size()));
    bars_.clear();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const ShopScaleRow& row = rows_[r];
        const int at = static_cast<int>(r);
        auto* port = Cell(QString::fromStdString(row.name));
        port->setFlags(row.opens ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags);
        port->setCheckState(row.opens && checked.count(row.name) ? Qt::Checked : Qt::Unchecked);
        table_->setItem(at, Port, port);
        table_->setItem(at, Device, Cell(row.device));
        table_->setItem(at, Opens, Cell(row.openText));
        table_->setItem(at, LastRun, Cell(row.lastRun));
        table_->setItem(at, Known, Cell(row.known));
        auto* bar = Named(new QProgressBar,
                          QStringLiteral("ShopProgress_") + QString::fromStdString(row.name));
        bar->setRange(0, 1);
        bar->setValue(0);
        bar->setTextVisible(true);
        bar->setFormat(QString());
        table_->setCellWidget(at, Progress, bar);
        bars_.push_back(bar);
    }
    table_->resizeColumnsToContents();
}

void ShopScalesWindow::ShowFacts() {
    const std::vector<ShopScaleRow> now =
        ShopScaleRows(context_.ownPort ? context_.ownPort() : std::nullopt);
    for (std::size_t r = 0; r < rows_.size(); ++r)
        for (const ShopScaleRow& row : now) {
            if (row.name != rows_[r].name) continue;
            const int at = static_cast<int>(r);
            table_->item(at, LastRun)->setText(row.lastRun);
            table_->item(at, Known)->setText(row.known);
            rows_[r].lastRun = row.lastRun;
            rows_[r].known = row.known;
        }
}

std::vector<int> ShopScalesWindow::CheckedRows() const {
    std::vector<int> checked;
    for (int r = 0; r < table_->rowCount(); ++r)
        if (table_->item(r, Port)->checkState() == Qt::Checked) checked.push_back(r);
    return checked;
}

std::unique_ptr<TComm> ShopScalesWindow::OpenPort(const std::string& name,
                                                  std::string& problem) const {
    const std::optional<int> n = serial::ComNumber(name);
    auto comm = std::make_unique<TComm>();
    if (context_.lineSettings) context_.lineSettings(*comm);
    comm->Port = static_cast<tPort>(n.value_or(1) - 1);
    comm->Connect();
    if (comm->OpenError() == 0) return comm;
    problem = jobs::PortProblemText(name, comm->OpenError());
    return nullptr;
}

void ShopScalesWindow::Start(jobs::ShopTask task) {
    if (Running()) return;
    const std::vector<int> checked = CheckedRows();
    if (context_.dialogs->ErrorBoxIf(checked.empty(), texts::NoScaleChecked())) return;
    jobs::ShopJob job;
    job.task = task;
    if (task != jobs::ShopTask::ReadDisplay) {
        std::optional<ShopList> list = context_.list ? context_.list() : std::nullopt;
        if (context_.dialogs->ErrorBoxIf(!list, texts::ChooseListKindFirst())) return;
        job.table = std::move(list->table);
        job.kind = jobs::RowKindOf(list->kind);
    }
    runRows_ = checked;
    runPorts_.clear();
    for (int r : checked) {
        const ShopScaleRow& row = rows_[static_cast<std::size_t>(r)];
        job.ports.push_back({row.name, row.own ? context_.comm : nullptr});
        runPorts_ << QString::fromStdString(row.name);
        bars_[static_cast<std::size_t>(r)]->setRange(0, 1);
        bars_[static_cast<std::size_t>(r)]->setValue(0);
    }
    job.open = [this](const std::string& name, std::string& problem) {
        return OpenPort(name, problem);
    };
    job.clock = context_.clock;
    job.byteTimeoutMs = context_.byteTimeoutMs;
    task_ = task;
    SetRunning(true);
    if (context_.running) context_.running(true);
    run_ = std::make_unique<jobs::ShopRun>(std::move(job), [this] {
        QMetaObject::invokeMethod(
            this, [this] { Changed(); }, Qt::QueuedConnection);
    });
}

void ShopScalesWindow::StopClick() {
    if (!run_) return;
    run_->Stop();
    stop_->setEnabled(false);
}

void ShopScalesWindow::SetRunning(bool running) {
    for (QPushButton* b : {sendChanges_, sendAll_, read_, refresh_}) b->setEnabled(!running);
    stop_->setEnabled(running);
    for (int r = 0; r < table_->rowCount(); ++r) {
        QTableWidgetItem* port = table_->item(r, Port);
        const bool opens = rows_[static_cast<std::size_t>(r)].opens;
        port->setFlags(opens && !running ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
                                         : Qt::NoItemFlags);
    }
}

void ShopScalesWindow::ShowStates(const std::vector<jobs::ShopScaleState>& states) {
    for (std::size_t i = 0; i < states.size() && i < runRows_.size(); ++i) {
        QProgressBar* bar = bars_[static_cast<std::size_t>(runRows_[i])];
        const jobs::ShopScaleState& s = states[i];
        bar->setRange(0, std::max(s.rows, 1));
        bar->setValue(std::min(s.done, std::max(s.rows, 1)));
        bar->setFormat(texts::ShopProgressText(s, task_));
    }
}

void ShopScalesWindow::Changed() {
    if (!run_) return;
    ShowStates(run_->States());
    // A box already open serves this pass; its round goes on when it is answered.
    if (asking_) return;
    AskRound();
    if (run_ && run_->Ended()) Finish();
}

void ShopScalesWindow::AskRound() {
    asking_ = true;
    for (;;) {
        const std::vector<jobs::MergedQuestion> round = run_->Questions().Take();
        if (round.empty()) break;
        for (const jobs::MergedQuestion& q : round) {
            const Answer a = context_.dialogs->Question(texts::MergedQuestionText(q, runPorts_));
            run_->Questions().Answer(q, a == Answer::Yes);
        }
    }
    asking_ = false;
}

void ShopScalesWindow::Finish() {
    const std::vector<jobs::ShopScaleState> states = run_->States();
    run_.reset();
    ShowStates(states);
    const QString text = texts::ShopEndText(states, runPorts_, task_);
    if (texts::ShopAllWell(states, task_))
        context_.dialogs->PlainBox(text);
    else
        context_.dialogs->WarningBox(text);
    for (const auto& s : states)
        if (s.end && !s.end->load.knownNote.empty() && context_.keepKnown)
            context_.keepKnown(s.end->load.knownNote);
    SetRunning(false);
    ShowFacts();
    if (context_.running) context_.running(false);
    if (QWidget* window = std::exchange(closeAfterRun_, nullptr)) CloseLater(window);
}

bool ShopScalesWindow::AskToEnd(QWidget* window) {
    if (!Running()) return false;
    if (context_.dialogs->Question(texts::ShopCloseQuestion()) != Answer::Yes) return false;
    if (!run_) {
        // The run ended while the question was open.
        CloseLater(window);
        return true;
    }
    closeAfterRun_ = window;
    StopClick();
    return true;
}

void ShopScalesWindow::closeEvent(QCloseEvent* event) {
    if (!Running()) {
        event->accept();
        return;
    }
    event->ignore();
    AskToEnd(this);
}
