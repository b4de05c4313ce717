#pragma once
// TForm1: the main window. Its handlers are the program's commands; the serial line, the scale
// exchanges and the table live in their own libraries, and the window turns their outcomes into
// messages and control states.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Compare.h"
#include "Dialogs.h"
#include "Exchanges.h"
#include "MyCom.h"
#include "RowValidation.h"
#include "RunScreen.h"
#include "Table.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QStatusBar;
class QPushButton;
class GridModel;
class GridView;
class TransferLogView;
class FindBar;
class ShopScalesWindow;
struct LinkFailure;
namespace jobs {
struct ImportReport;
}

class TForm1 : public QMainWindow, private RunScreen {
    Q_OBJECT

  public:
    // Null arguments take the real dialogs, the termios platform and the system clock;
    // byteTimeoutMs bounds every read after the scale's first answer (tests shorten it).
    explicit TForm1(std::unique_ptr<Dialogs> dialogs = nullptr,
                    std::unique_ptr<serial::SerialPlatform> platform = nullptr,
                    scale::Clock* clock = nullptr, int byteTimeoutMs = scale::kByteTimeoutMs);
    ~TForm1() override;

    static const QString kTitle;

    // What a test reads that the window does not show; the program never calls it.
    struct TestAccess;
    TestAccess ForTests();

    // Port set-up.
    void FormCreate();
    void OpretClick();
    void Button12Click();
    void N14Click() { Button12Click(); }

    // Busy state and stop.
    void Button24Click() { StopRequested = true; }

    // Display readout.
    void StartBtnClick();
    void N12Click() { StartBtnClick(); }

    // Download.
    void Button21Click();
    void N15Click() { Button21Click(); }

    // Upload.
    void Button22Click();
    void PLU2Click() { Button22Click(); }

    // Service: compare the PLU list with the scale, send only the rows that changed.
    void CompareClick();
    void SendChangesClick();

    // Table lists and rows.
    void Button18Click() { NewList(tables::ListKind::Plu); }
    void PLU1Click() { Button18Click(); }
    void Button17Click() { NewList(tables::ListKind::Msg); }
    void N2Click() { Button17Click(); }
    void Button16Click();
    void N7Click() { Button16Click(); }
    void Button15Click();
    void N8Click() { Button15Click(); }
    void Button14Click();
    void N9Click() { Button14Click(); }
    void Button13Click();
    void N10Click() { Button13Click(); }
    void StringGrid1SetEditText(int ACol, int ARow, const QString& Value);

    // Table files.
    void Button19Click() { SaveWithDialog(); }
    void N4Click() { Button19Click(); }
    // True when the table was written.
    bool QuickSave();
    void Button20Click();
    void N3Click() { Button20Click(); }
    void SaveT();
    void FormCloseQuery(bool& CanClose);

    // Line diagnostics.
    void BSendClick();
    void BHentClick();
    void Button1Click() { Escape(serial::kSetDtr); }
    void Button2Click() { Escape(serial::kSetRts); }
    void Button3Click() { Escape(serial::kClrDtr); }
    void Button4Click() { Escape(serial::kClrRts); }
    void Button5Click() { Escape(serial::kSetXon); }
    void Button6Click() { Escape(serial::kSetXoff); }
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    // Ctrl+Shift+D: shows or hides the diagnostics panels.
    void ToggleDiagnostics();

    // Information box of the logo and the vendor label.
    void Image1Click();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Module state, under its specified names.
    bool PortConfigured = false;
    bool PortOpened = false;
    bool TransferFailed = false;
    bool StopRequested = false;
    std::int32_t CurRow = 0;
    bool LinkAnswered = true;
    bool TableExists = false;
    bool TableIsPlu = false;
    // The kind of the list in the grid, as TableIsPlu says.
    tables::ListKind ListKindNow() const {
        return TableIsPlu ? tables::ListKind::Plu : tables::ListKind::Msg;
    }
    bool TableModified = false;
    Answer SaveAnswer = Answer::Cancel;
    QString TableFileName;

    TComm Comm;
    const tables::Table& Grid() const;

    void ButOff() override { SetCommandButtonsEnabled(false); }
    void ButOn() override { SetCommandButtonsEnabled(true); }
    // Stop hidden, and the top buttons, the transfer buttons and Exit off or on.
    void SetCommandButtonsEnabled(bool enabled);
    // Also sets TransferFailed.
    void ReportLinkFailure(const LinkFailure& failure) override;
    // Runs a download or upload: every other command is refused meanwhile, and a close asked
    // for during it is carried out once it has ended.
    void RunExclusive(const std::function<void()>& run);
    // False, after the port's box, when no port is open: nothing may be sent or read then.
    bool RequirePort();
    // The busy state of a run that Stop may end: Stop shown, no earlier failure or stop counting.
    void StartStoppableRun();
    bool StopPressed() override;
    void ShowProgress(int value) override;
    void RowUnderWay(int row) override { CurRow = row; }
    void ErrorBox(const QString& text) override { dialogs_->ErrorBox(text); }
    Answer Question(const QString& text) override { return dialogs_->Question(text); }
    void MarkBadCell(int column, int row) override;

    void ShowReading(const scale::DisplayReading& reading);
    // The line-test panels' escape codes, sent only once the port is configured.
    void Escape(serial::EscapeCode code);
    // The PLU number the upload asks for.
    std::int32_t UploadRequest = 0;

    // Controls, under their specified names.
    QLabel* Image1 = nullptr;
    QLabel* Label13 = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button13 = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
    QPushButton* Button16 = nullptr;
    QPushButton* Button17 = nullptr;
    QPushButton* Button18 = nullptr;
    QPushButton* Button19 = nullptr;
    QPushButton* Button20 = nullptr;
    QPushButton* Button21 = nullptr;
    QPushButton* Button22 = nullptr;
    QPushButton* Button24 = nullptr;
    QPushButton* Button25 = nullptr;
    QPushButton* StartBtn = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Summ1 = nullptr;
    QLabel* Last1 = nullptr;
    QLabel* Summ2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    GridView* StringGrid1 = nullptr;

    QGroupBox* GroupBox1 = nullptr;
    QComboBox* CBPort = nullptr;
    QComboBox* CBBaud = nullptr;
    QComboBox* CBDataBit = nullptr;
    QComboBox* CBParitet = nullptr;
    QComboBox* CBstopbit = nullptr;
    QComboBox* CBFlow = nullptr;
    QLineEdit* Xon = nullptr;
    QLineEdit* Xoff = nullptr;
    QPushButton* Opret = nullptr;

    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPlainTextEdit* BeskedBox = nullptr;
    QPushButton* BSend = nullptr;
    QPushButton* BHent = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QLineEdit* EByte = nullptr;
    QListWidget* Bytebox = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;

    QMenu* N1 = nullptr;
    QAction* PLU1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QMenu* N6 = nullptr;
    QAction* N7 = nullptr;
    QAction* N8 = nullptr;
    QAction* N9 = nullptr;
    QAction* N10 = nullptr;
    QMenu* N11 = nullptr;
    QAction* N12 = nullptr;
    QAction* N15 = nullptr;
    QAction* PLU2 = nullptr;
    QMenu* N13 = nullptr;
    QAction* N14 = nullptr;

    // The save and open dialogs' settings, as the list commands leave them.
    FileDialogRequest SaveDialog1;
    FileDialogRequest OpenDialog1;

    // The form's outer height includes a title bar of about this many pixels.
    static constexpr int kTitleBarHeight = 30;
    // The form's size: the window starts at it and may grow, never shrink below it.
    static constexpr int kFormWidth = 765;
    static constexpr int kFormHeight = 572 - kTitleBarHeight;
    void PlaceAtScreenCentre();
    // The grid takes all the window has beyond the form's size; every other control keeps its
    // place, except the shown diagnostics panels, which stand below the grid at the bottom.
    void PlaceGrowingControls();
    // Grows the window until the shown panels fit, or gives back what showing them took.
    void FitWindowToPanels();
    std::vector<QWidget*> DiagnosticsPanels() const;
    void BuildMainControls();
    void BuildMenu();
    void BuildPortGroup();
    void BuildGrid();
    // The find bar under the grid and the status line: list kind, records, current row, and
    // the grid's short notes.
    void BuildGridHelpers();
    void ShowGridStatus();
    void ShowFindBar(bool shown);
    // Ctrl+F, wherever the focus is: a find is the window's command, not the grid's key.
    QAction* findItem_ = nullptr;
    FindBar* findBar_ = nullptr;
    QLabel* gridStatus_ = nullptr;
    QStatusBar* statusLine_ = nullptr;
    // The form's height with the status line under it, and the window's height that shows
    // panels reaching down to panelsBottom.
    int StatusLineHeight() const;
    int FormHeight() const;
    int PanelsNeedHeight(int panelsBottom) const;
    void BuildDiagnostics();
    void ConnectHandlers();
    void SetTopButtonsEnabled(bool enabled);  // StartBtn and Button12..Button20
    // While a download or upload runs, every other command is refused: the run serves
    // events between rows, and a command run there would work on a half-sent table.
    bool RefusedDuringRun() const { return runActive_ || shopRunning_; }
    // Shared by the prompts of the list commands, Open and the upload: false when the command
    // that asked must end (Cancel, or a Yes whose save did not happen).
    bool PassSavePrompt(const QString& text);
    bool SaveWithDialog();
    bool WriteTable();
    void NewList(tables::ListKind kind);
    // What choosing a list kind sets besides the grid: flags, dialog filters, transfer buttons,
    // and a forgotten file name.
    void ApplyListKind(tables::ListKind kind);
    void UploadRun();
    void RecordRequested(int request) override;
    void AppendUploadedRow(const tables::Row& cells) override;
    // What the upload does with an exchange's outcome: the end of the list, or a failure's box.
    void TakeUploadOutcome(scale::UploadOutcome outcome) override;
    bool StopPressedShowingNewRows() override;
    void DownloadRun();
    void StartDownloadView() override;
    // After a download: the controls, the status line, the box.
    void EndDownloadView(const jobs::Report& report, int rows, int skipped);
    void WriteDownloadEndMarker();
    void CompareRun();
    void SendChangesRun();
    void ShowComparison(const jobs::Comparison& comparison);
    // Service: the transfer log, and the line each run writes to it.
    void ShowTransferLog();
    // A price list into the table; askColumns opens the choice of columns even when the file's
    // header is known or remembered.
    void ImportList(bool askColumns);
    // The report of an import: its table taken, or its refusal said.
    void TakeImport(jobs::ImportReport& report);
    void ExportCsv();
    QAction* logItem_ = nullptr;
    QAction* importCsvItem_ = nullptr;
    QAction* importColumnsItem_ = nullptr;
    QAction* exportCsvItem_ = nullptr;
    QAction* compareItem_ = nullptr;
    QAction* sendChangesItem_ = nullptr;
    // What could not be kept of the known contents is said in the log viewer, never in a box.
    void KeepKnown(const std::string& note);
    std::string knownFailure_;
    TransferLogView* logView_ = nullptr;

    // Every scale of the shop, in a window of its own: while its runs go on, this window refuses
    // its commands and says why, and a close asks first and waits for the runs to end.
    void ShowShopScales();
    void ShopRunning(bool running);
    void ApplyPortSettings(TComm& comm) const;
    QAction* shopScalesItem_ = nullptr;
    ShopScalesWindow* shopScales_ = nullptr;
    bool shopRunning_ = false;

    std::unique_ptr<Dialogs> dialogs_;
    scale::Clock* clock_;
    int byteTimeoutMs_;
    // Every exchange of the window's own runs goes through its port, clock and read bound.
    scale::Link link_;
    GridModel* model_ = nullptr;
    std::string Memo1;
    bool runActive_ = false;
    bool closeAfterRun_ = false;
    bool diagnosticsShown_ = false;
    // How much showing the panels grew the window, so hiding them gives back exactly that.
    int diagnosticsGrowth_ = 0;
    // How far the shown panels stand below their places, as the window is taller than they need.
    int panelsShift_ = 0;
};

// Module state to read; a test reaches every state through the window's own commands.
struct TForm1::TestAccess {
    explicit TestAccess(TForm1& form) : f_(form) {}
    bool PortConfigured() const { return f_.PortConfigured; }
    bool PortOpened() const { return f_.PortOpened; }
    bool TransferFailed() const { return f_.TransferFailed; }
    bool StopRequested() const { return f_.StopRequested; }
    std::int32_t CurRow() const { return f_.CurRow; }
    bool LinkAnswered() const { return f_.LinkAnswered; }
    bool TableExists() const { return f_.TableExists; }
    bool TableIsPlu() const { return f_.TableIsPlu; }
    bool TableModified() const { return f_.TableModified; }
    Answer SaveAnswer() const { return f_.SaveAnswer; }
    const QString& TableFileName() const { return f_.TableFileName; }
    const TComm& Comm() const { return f_.Comm; }
    const tables::Table& Grid() const { return f_.Grid(); }
    const FileDialogRequest& SaveDialog1() const { return f_.SaveDialog1; }
    const FileDialogRequest& OpenDialog1() const { return f_.OpenDialog1; }
    bool RunActive() const { return f_.runActive_; }
    // The bytes waiting at the port, as the line's status tells them.
    std::int32_t InQue() const { return f_.Comm.InQue(); }
    // The port's latched error; the read clears the latch, which only this read sees.
    std::int32_t GetError() const { return f_.Comm.GetError(); }

  private:
    TForm1& f_;
};

inline TForm1::TestAccess TForm1::ForTests() {
    return TestAccess(*this);
}
