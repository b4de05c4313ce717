#pragma once
// A fresh main window for one test: its own configuration folder, scripted dialogs, and the
// platform and clock the test chooses (the real termios platform by default). Its reads after
// the scale's first answer give up after kTestByteTimeoutMs, so a stall ends in a blink.

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "Com.h"
#include "GridModel.h"
#include "GridView.h"
#include "ScriptedDialogs.h"
#include "TempConfig.h"

// Long beside a byte's line time (about 1 ms at 9600 baud) and the virtual scale's answer.
constexpr int kTestByteTimeoutMs = 100;

class FormHarness {
  public:
    explicit FormHarness(std::unique_ptr<serial::SerialPlatform> platform = nullptr,
                         scale::Clock* clock = nullptr, int byteTimeoutMs = kTestByteTimeoutMs);

    TempConfig config;
    ScriptedDialogs* dialogs = nullptr;  // owned by the form
    std::unique_ptr<TForm1> form;

    template <typename W = QWidget>
    W* Find(const char* name) const {
        return form->findChild<W*>(QString::fromLatin1(name));
    }
    // Clicks a button or triggers a menu item as the operator would.
    void Click(const char* buttonName) const;
    void Trigger(const char* actionName) const;
    // Chooses the port (index 0 is COM1) and confirms the settings.
    void ConfirmPort(int portIndex = 1) const;
    // The grid's model: its program writes, as a file read or a paste makes them, are no edit.
    GridModel& Model() const;
};
