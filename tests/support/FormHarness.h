#pragma once
// A fresh main window for one test: its own configuration folder, scripted dialogs, and the
// platform and clock the test chooses (the real termios platform by default).

#include <QAction>
#include <QPushButton>
#include <memory>

#include "Com.h"
#include "ScriptedDialogs.h"
#include "TempConfig.h"

class FormHarness {
  public:
    explicit FormHarness(std::unique_ptr<serial::SerialPlatform> platform = nullptr,
                         scale::Clock* clock = nullptr);

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
};
