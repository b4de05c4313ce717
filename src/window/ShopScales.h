#pragma once
// "Весы магазина": every scale of the shop in one window of its own. The table of the main
// window goes to every checked scale at once, each on its own thread and line, or each scale's
// display is read; the window stays responsive meanwhile and asks a load's questions once for
// all the scales they concern.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "ShopRun.h"
#include "ShopScaleRows.h"
#include "Table.h"

class QProgressBar;
class QPushButton;
class QTableWidget;

// The main window's table for a run: a copy, and its kind.
struct ShopList {
    tables::Table table;
    tables::ListKind kind = tables::ListKind::Plu;
};

// What the main window lends this one.
struct ShopWindowContext {
    Dialogs* dialogs = nullptr;
    TComm* comm = nullptr;  // the main window's port
    // The main window's port as "OK" left it; nothing before "OK".
    std::function<std::optional<OwnPort>()> ownPort;
    // The settings group's line settings, for the ports opened here.
    std::function<void(TComm&)> lineSettings;
    scale::Clock* clock = nullptr;
    int byteTimeoutMs = scale::kByteTimeoutMs;
    // Nothing while no list kind is chosen.
    std::function<std::optional<ShopList>()> list;
    // A run begins (true) and has ended (false): the main window refuses its commands meanwhile.
    std::function<void(bool)> running;
    // What could not be kept of a scale's known contents.
    std::function<void(const std::string&)> keepKnown;
};

class ShopScalesWindow : public QWidget {
    Q_OBJECT

  public:
    ShopScalesWindow(ShopWindowContext context, QWidget* parent);
    ~ShopScalesWindow() override;

    bool Running() const { return run_ != nullptr; }
    // Reads the list of scales again; nothing while a run goes on.
    void Refresh();
    void Start(jobs::ShopTask task);
    void StopClick();
    // During a run: asks whether to end it; true when it is being ended after the current
    // records. Then `window` is closed once the run has ended and its box was shown.
    bool AskToEnd(QWidget* window);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Changed();
    void AskRound();
    void Finish();
    void ShowStates(const std::vector<jobs::ShopScaleState>& states);
    void SetRunning(bool running);
    // What the runs left in the log and the known contents, the bars kept as they ended.
    void ShowFacts();
    std::vector<int> CheckedRows() const;
    std::unique_ptr<TComm> OpenPort(const std::string& name, std::string& problem) const;

    ShopWindowContext context_;
    QTableWidget* table_ = nullptr;
    QPushButton* sendChanges_ = nullptr;
    QPushButton* sendAll_ = nullptr;
    QPushButton* read_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* refresh_ = nullptr;
    std::vector<ShopScaleRow> rows_;
    std::vector<QProgressBar*> bars_;

    std::unique_ptr<jobs::ShopRun> run_;
    jobs::ShopTask task_ = jobs::ShopTask::SendChanges;
    std::vector<int> runRows_;  // the table's rows in the run, by the run's places
    QStringList runPorts_;
    bool asking_ = false;
    QWidget* closeAfterRun_ = nullptr;
};
