// The window as it starts, and the port settings.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <filesystem>

#include "FakePlatform.h"
#include "FormHarness.h"
#include "GridView.h"
#include "PtyPair.h"
#include "ScaleWindow.h"
#include "ScriptedDialogs.h"
#include "TempConfig.h"

namespace {

const char* const kCommandButtons[] = {"Button12", "Button13", "Button14", "Button15",
                                       "Button16", "Button17", "Button18", "Button19",
                                       "Button20", "Button21", "Button22"};

TEST(StartState, TheWindowStartsAtTheCentreOfTheScreen) {
    FormHarness h;
    h.form->show();
    const QRect screen = h.form->screen()->availableGeometry();
    const QPoint offset = h.form->frameGeometry().center() - screen.center();
    // The window system may add a frame of its own around the form's outer size.
    EXPECT_LE(std::abs(offset.x()), 10) << offset.x();
    EXPECT_LE(std::abs(offset.y()), 30) << offset.y();
    EXPECT_GT(h.form->frameGeometry().left(), screen.left());
}

TEST(StartState, TitleSizeAndNames) {
    FormHarness h;
    EXPECT_EQ(h.form->windowTitle(), QStringLiteral("Демо-Программа для работы с весами QV"));
    EXPECT_EQ(h.form->objectName(), "Form1");
    EXPECT_EQ(h.form->frameGeometry().width() >= 753, true);
    const std::pair<const char*, QString> captions[] = {
        {"Button20", "Open"},
        {"Button19", "Save"},
        {"Button18", "PLU"},
        {"Button17", "MSG"},
        {"Button16", "Add"},
        {"Button15", "Copy"},
        {"Button14", "Ins"},
        {"Button13", "Del"},
        {"Button12", "COM"},
        {"Button21", QStringLiteral("Переслать данные в весы")},
        {"Button22", QStringLiteral("Считать данные PLU из весов")},
        {"Button25", QStringLiteral("Выход")},
        {"Button24", QStringLiteral("Стоп")},
        {"StartBtn", QStringLiteral("Прочитать")},
        {"Opret", "OK"}};
    for (const auto& [name, caption] : captions) {
        auto* button = h.Find<QPushButton>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), caption) << name;
    }
    EXPECT_EQ(h.Find<QLabel>("Summ1")->text(), "0,000");
    EXPECT_EQ(h.Find<QLabel>("Last1")->text(), "0,00");
    EXPECT_EQ(h.Find<QLabel>("Summ2")->text(), "0,00");
}

TEST(StartState, SettingsShownWithDefaultsAndOnlyThePortChoosable) {
    FormHarness h;
    EXPECT_FALSE(h.Find<QGroupBox>("GroupBox1")->isHidden());
    EXPECT_EQ(h.Find<QGroupBox>("GroupBox1")->title(),
              QStringLiteral("Проинициализируйте СОМ - порт"));
    const std::tuple<const char*, QString, bool> lists[] = {
        {"CBPort", "COM2", true},   {"CBBaud", "9600", false}, {"CBDataBit", "8", false},
        {"CBParitet", "No", false}, {"CBstopbit", "1", false}, {"CBFlow", "Hardware", false}};
    for (const auto& [name, text, enabled] : lists) {
        auto* list = h.Find<QComboBox>(name);
        ASSERT_NE(list, nullptr) << name;
        EXPECT_EQ(list->currentText(), text) << name;
        EXPECT_EQ(list->isEnabled(), enabled) << name;
    }
    EXPECT_TRUE(h.Find<QLineEdit>("Xon")->isHidden());
    EXPECT_TRUE(h.Find<QLineEdit>("Xoff")->isHidden());
    EXPECT_TRUE(h.Find<GridView>("StringGrid1")->isHidden());
}

TEST(StartState, CommandButtonsDisabledReadoutAndExitEnabled) {
    FormHarness h;
    for (const char* name : kCommandButtons)
        EXPECT_FALSE(h.Find<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(h.Find<QPushButton>("StartBtn")->isEnabled());
    EXPECT_TRUE(h.Find<QPushButton>("Button25")->isEnabled());
    for (const char* hidden : {"Button24", "Label14", "ProgressBar1"})
        EXPECT_TRUE(h.Find(hidden)->isHidden()) << hidden;
}

TEST(StartState, MenuInOrderWithTheTableItemsDisabled) {
    FormHarness h;
    const std::vector<std::pair<QString, std::vector<std::pair<QString, bool>>>> menus = {
        {QStringLiteral("Файл"),
         {{QStringLiteral("Новый PLU"), true},
          {QStringLiteral("Новый MSG"), true},
          {QStringLiteral("Открыть"), true},
          {QStringLiteral("Сохранить как..."), true},
          {QStringLiteral("Импорт..."), true},
          {QStringLiteral("Импорт с выбором столбцов..."), true},
          {QStringLiteral("Экспорт..."), true},
          {QStringLiteral("Выход"), true}}},
        {QStringLiteral("Таблица"),
         {{QStringLiteral("Добавить строку"), false},
          {QStringLiteral("Копировать строку"), false},
          {QStringLiteral("Вставить строку"), false},
          {QStringLiteral("Удалить строку"), false},
          {QStringLiteral("Найти..."), true}}},
        {QStringLiteral("Сервис"),
         {{QStringLiteral("Прочитать показания дисплея"), true},
          {QStringLiteral("Загрузить весы"), true},
          {QStringLiteral("Считать данные PLU из весов"), true},
          {QStringLiteral("Сверить с весами"), true},
          {QStringLiteral("Переслать изменения"), true},
          {QStringLiteral("Журнал обмена"), true},
          {QStringLiteral("Весы магазина..."), true}}},
        {QStringLiteral("Порт"), {{QStringLiteral("Настроить"), true}}}};
    const auto bar = h.form->menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<int>(menus.size()));
    for (int m = 0; m < bar.size(); ++m) {
        EXPECT_EQ(bar[m]->text(), menus[m].first);
        const auto items = bar[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<int>(menus[m].second.size())) << m;
        for (int i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i]->text(), menus[m].second[i].first);
            EXPECT_EQ(items[i]->isEnabled(), menus[m].second[i].second) << i;
        }
    }
}

TEST(StartState, ModuleStateStartsClear) {
    FormHarness h;
    EXPECT_FALSE(h.form->ForTests().PortConfigured());
    EXPECT_FALSE(h.form->ForTests().PortOpened());
    EXPECT_FALSE(h.form->ForTests().TableExists());
    EXPECT_FALSE(h.form->ForTests().TableIsPlu());
    EXPECT_FALSE(h.form->ForTests().TableModified());
    EXPECT_TRUE(h.form->ForTests().LinkAnswered());
    EXPECT_EQ(h.form->ForTests().SaveDialog1().fileName, "noname1");
    EXPECT_EQ(h.form->ForTests().Grid().RowCount(), 3);
}

class PortSetup : public ::testing::Test {
  protected:
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    FormHarness h{std::make_unique<FakePlatform>(line)};
};

TEST_F(PortSetup, OkOpensThePortAndShowsTheTable) {
    h.ConfirmPort();
    EXPECT_EQ(line->opened, std::vector<std::string>{"COM2"});
    EXPECT_EQ(line->dcb.BaudRate, 9600u);
    EXPECT_EQ(line->dcb.ByteSize, 8);
    EXPECT_EQ(line->dcb.Parity, 0);
    EXPECT_EQ(line->dcb.StopBits, 0);
    EXPECT_EQ(line->dcb.Flags & (serial::kFOutX | serial::kFInX), 0u);
    EXPECT_EQ(h.form->ForTests().Comm().XON, 5);
    EXPECT_EQ(h.form->ForTests().Comm().XOFF, 7);
    EXPECT_TRUE(h.form->ForTests().PortConfigured());
    EXPECT_TRUE(h.form->ForTests().PortOpened());
    EXPECT_EQ(h.Find<QGroupBox>("GroupBox1")->title(), QStringLiteral("Настройка порта"));
    EXPECT_TRUE(h.Find<QGroupBox>("GroupBox1")->isHidden());
    EXPECT_FALSE(h.Find<GridView>("StringGrid1")->isHidden());
    for (const char* name : kCommandButtons) {
        const bool transfer = std::string(name) == "Button21" || std::string(name) == "Button22";
        EXPECT_EQ(h.Find<QPushButton>(name)->isEnabled(), !transfer) << name;
    }
}

TEST_F(PortSetup, ComBringsTheSettingsBackAndOkReopens) {
    h.ConfirmPort();
    h.Click("Button12");
    EXPECT_FALSE(h.Find<QGroupBox>("GroupBox1")->isHidden());
    EXPECT_FALSE(h.Find<QPushButton>("StartBtn")->isEnabled());
    EXPECT_TRUE(h.Find<GridView>("StringGrid1")->isHidden());
    EXPECT_TRUE(h.Find<QPushButton>("Button13")->isEnabled());
    h.ConfirmPort(7);
    EXPECT_EQ(line->opened, (std::vector<std::string>{"COM2", "COM8"}));
    EXPECT_EQ(line->closes, 1);
    EXPECT_EQ(h.Find<QGroupBox>("GroupBox1")->title(), QStringLiteral("Настройка порта"));
    EXPECT_TRUE(h.Find<QPushButton>("StartBtn")->isEnabled());
}

TEST_F(PortSetup, PortMenuItemDoesWhatComDoes) {
    h.ConfirmPort();
    h.Trigger("N14");
    EXPECT_FALSE(h.Find<QGroupBox>("GroupBox1")->isHidden());
    EXPECT_TRUE(h.Find<GridView>("StringGrid1")->isHidden());
}

TEST(PortSetupOnPty, ChoosingCom8OpensTheDeviceItNames) {
    FormHarness h;
    PtyPair pty("COM8");
    h.ConfirmPort(7);
    EXPECT_EQ(h.form->ForTests().GetError(), 0);
    h.Find<QLineEdit>("EByte")->setText("90");
    h.Click("Button10");
    EXPECT_EQ(pty.Read(1), std::vector<std::uint8_t>{0x5A});
}

// The table's items go off with the row buttons while a download is under way, where it serves
// events after its first row, and come back with them at its end.
TEST(PortSetupOnPty, TableMenuItemsFollowTheRowButtons) {
    const char* const items[] = {"N7", "N8", "N9", "N10"};
    std::vector<bool> enabledDuringRun;
    ScaleWindow w;
    for (const char* item : items) EXPECT_TRUE(w.h.Find<QAction>(item)->isEnabled()) << item;
    w.SetList(tables::ListKind::Plu, {PluRow(1), PluRow(2)});
    TForm1* form = w.h.form.get();
    w.scale.OnExchangeStart([&, form](const sim::ExchangeStart& start) {
        if (start.occurrence != 1) return;
        // This is the scale's thread: the items are looked at on the window's.
        QMetaObject::invokeMethod(
            form,
            [&] {
                for (const char* item : items)
                    enabledDuringRun.push_back(w.h.Find<QAction>(item)->isEnabled());
            },
            Qt::QueuedConnection);
    });
    RunDownload(w);
    w.scale.OnExchangeStart(nullptr);
    ASSERT_EQ(w.Ended(2).size(), 2u);
    ASSERT_EQ(enabledDuringRun.size(), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i)
        EXPECT_FALSE(enabledDuringRun[i]) << items[i];
    for (const char* item : items) EXPECT_TRUE(w.h.Find<QAction>(item)->isEnabled()) << item;
}

TEST(PortTips, EachComNameSaysWhereItLeadsWhenTheWindowStarts) {
    TempConfig config;  // before the window, which reads the port map as it starts
    PtyPair pty("COM3");
    std::filesystem::create_symlink(config.Dir() + "/unplugged", config.PortDir() + "/COM4");
    TForm1 form(std::make_unique<ScriptedDialogs>());
    const auto* ports = form.findChild<QComboBox*>(QStringLiteral("CBPort"));
    const QString nothing = QStringLiteral("нет устройства");
    const std::pair<int, QString> tips[] = {
        {3, QString::fromStdString(pty.SlavePath())},
        {4, nothing},
        {5, nothing},  // no link, and this machine has no ttyS4
    };
    for (const auto& [com, tip] : tips)
        EXPECT_EQ(ports->itemData(com - 1, Qt::ToolTipRole).toString(), tip) << com;
}

TEST(InformationBox, LogoAndVendorLabelShowTheProgramAndItsLicence) {
    FormHarness h;
    h.form->Image1Click();
    ASSERT_EQ(h.dialogs->boxes.size(), 1u);
    EXPECT_EQ(h.dialogs->boxes[0].kind, BoxKind::Plain);
    EXPECT_TRUE(h.dialogs->boxes[0].text.contains("qvscale"));
    EXPECT_TRUE(h.dialogs->boxes[0].text.contains("MIT"));
}

}  // namespace
