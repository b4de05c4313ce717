#include "FormHarness.h"

#include <QComboBox>
#include <stdexcept>

FormHarness::FormHarness(std::unique_ptr<serial::SerialPlatform> platform, scale::Clock* clock,
                         int byteTimeoutMs) {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    form = std::make_unique<TForm1>(std::move(scripted), std::move(platform), clock, byteTimeoutMs);
}

void FormHarness::Click(const char* buttonName) const {
    auto* button = Find<QPushButton>(buttonName);
    if (!button) throw std::runtime_error(std::string("no button ") + buttonName);
    button->click();
}

void FormHarness::Trigger(const char* actionName) const {
    auto* action = Find<QAction>(actionName);
    if (!action) throw std::runtime_error(std::string("no menu item ") + actionName);
    action->trigger();
}

GridModel& FormHarness::Model() const {
    return *qobject_cast<GridModel*>(Find<GridView>("StringGrid1")->model());
}

void FormHarness::ConfirmPort(int portIndex) const {
    Find<QComboBox>("CBPort")->setCurrentIndex(portIndex);
    Click("Opret");
}
