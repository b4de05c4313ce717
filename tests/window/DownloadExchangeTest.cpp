// One row downloaded to the virtual scale: the bytes, and each failure's box, control states and
// silence afterwards.

#include <gtest/gtest.h>

#include <optional>

#include "ScaleWindow.h"

namespace {

using tables::ListKind;

sim::Bytes Spaces(std::size_t n) {
    return sim::Bytes(n, 0x20);
}
sim::Bytes Concat(std::initializer_list<sim::Bytes> parts) {
    sim::Bytes all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(DownloadRowOnTheLine, WholePluRowByteForByte) {
    ScaleWindow w;
    w.SetList(ListKind::Plu, {PluRow(1)});
    RunDownload(w);
    const sim::Bytes expected = Concat({
        {0xA5, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7B},
        Spaces(12),
        {0x91, 0xEB, 0xE0},
        Spaces(13),
        Spaces(28),
        {0x00, 0x00, 0x30, 0x39, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00},
    });
    const auto exchanges = w.Ended(1);
    ASSERT_EQ(exchanges.size(), 1u);
    EXPECT_EQ(exchanges[0].kind, sim::Kind::PluDownload);
    EXPECT_TRUE(exchanges[0].complete);
    EXPECT_EQ(exchanges[0].fromPc, expected);
    EXPECT_EQ(w.scale.Received(), expected);
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{QStringLiteral("Данные переданы")});
}

TEST(DownloadRowOnTheLine, MessageLinesGoOutCutOrPaddedToFifty) {
    ScaleWindow w;
    const std::string fiftyOne(51, 'x');
    w.SetList(ListKind::Msg,
              {MsgRow(1, {Cp(QStringLiteral("Ёлка")), "Test 1", fiftyOne, "", "  a  "})});
    RunDownload(w);
    ASSERT_EQ(w.Ended(1).size(), 1u);
    const auto stored = w.scale.FindMessage(1);
    ASSERT_TRUE(stored.has_value());
    const sim::Bytes lines[] = {
        Concat({{0xF0, 0xAB, 0xAA, 0xA0}, Spaces(46)}),
        Concat({{0x54, 0x65, 0x73, 0x74, 0x20, 0x31}, Spaces(44)}),
        sim::Bytes(50, 'x'),
        Spaces(50),
        Concat({{0x20, 0x20, 'a'}, Spaces(47)}),
    };
    for (std::size_t i = 0; i < std::size(lines); ++i)
        EXPECT_EQ(sim::Bytes(stored->lines[i].begin(), stored->lines[i].end()), lines[i]) << i;
    const auto sent = w.scale.Received();
    ASSERT_EQ(sent.size(), 404u);
    EXPECT_EQ(sim::Bytes(sent.begin(), sent.begin() + 4), (sim::Bytes{0xA5, 0x00, 0x00, 0x01}));
}

sim::Fault At(sim::Kind kind, sim::Step step, sim::Action action, std::uint8_t byte = 0x15) {
    sim::Fault f;
    f.kind = kind;
    f.step = step;
    f.action = action;
    f.byte = byte;
    if (step == sim::Step::Record) f.afterBytes = 30;
    return f;
}

struct FailureCase {
    const char* name;
    ListKind list;
    sim::Fault fault;
    BoxKind box;
    QString text;
    // At the box: true when the busy state had been released before it.
    bool releasedBeforeBox;
    // Afterwards, before the driver's own ending: Button12 tells ButOn from the partial release.
    bool butOn;
    bool upload;
    std::size_t bytesSent;  // by the PC in the failing exchange
};

const QString kLinkCheck = QStringLiteral("Проверьте СОМ-порт или линию связи");
const QString kNoMessages =
    QStringLiteral("Возможно у весов отсутствует функция передачи сообщений");

std::vector<FailureCase> FailureCases() {
    using sim::Action;
    using sim::Kind;
    using sim::Step;
    const auto plu = Kind::PluDownload;
    const auto msg = Kind::MsgDownload;
    return {
        {"T1", ListKind::Plu, At(Kind::Any, Step::Ready, Action::Silence), BoxKind::Error,
         kLinkCheck, false, false, true, 1},
        {"T2", ListKind::Plu, At(Kind::Any, Step::Ready, Action::Byte), BoxKind::Error, kLinkCheck,
         true, true, true, 1},
        {"T3", ListKind::Plu, At(plu, Step::Accept, Action::Byte), BoxKind::Error, kLinkCheck, true,
         true, true, 2},
        {"T4", ListKind::Plu, At(plu, Step::NumberCheck, Action::Refuse), BoxKind::Plain,
         QStringLiteral("Неправильно задан номер ячейки PLU"), true, true, true, 4},
        {"PLU stalled", ListKind::Plu, At(plu, Step::Record, Action::Stall), BoxKind::Error,
         kLinkCheck, false, true, true, 76},
        {"F1", ListKind::Msg, At(Kind::Any, Step::Ready, Action::Silence), BoxKind::Error,
         kLinkCheck, false, false, false, 1},
        {"F2", ListKind::Msg, At(Kind::Any, Step::Ready, Action::Byte), BoxKind::Error, kLinkCheck,
         true, true, true, 1},
        {"F3", ListKind::Msg, sim::NoMessages(), BoxKind::Plain, kNoMessages, false, false, false,
         2},
        {"F4", ListKind::Msg, At(msg, Step::Accept, Action::Byte), BoxKind::Error, kNoMessages,
         true, true, true, 2},
        {"F5", ListKind::Msg, At(msg, Step::NumberCheck, Action::Refuse), BoxKind::Plain,
         QStringLiteral("Неправильно набран номер сообщения\r\nОбычно это число от 1 до 200"), true,
         true, true, 4},
        {"F6", ListKind::Msg, At(msg, Step::Closing, Action::Byte, 0x11), BoxKind::Plain,
         QStringLiteral("Ошибка передачи сообщения"), true, true, true, 404},
        {"message stalled", ListKind::Msg, At(msg, Step::Record, Action::Stall), BoxKind::Error,
         kLinkCheck, false, true, true, 404},
    };
}

void Prepare(ScaleWindow& w, const FailureCase& c) {
    w.SetList(c.list, {c.list == ListKind::Plu ? PluRow(1) : MsgRow(1, {"a"})});
    w.scale.Inject(c.fault);
}

// One row through the download command. The port settings, opened with "COM", hide the grid, so
// that a failure showing it again can be seen. The driver's busy state has Stop and the bar in
// view; "after" is the window where the run next serves events, past the exchange's release and
// before the driver's own ending.
TEST(DownloadRowOnTheLine, EachFailureAsItsTableSays) {
    const ControlState busy{false, false, false, false, true, false, true, false};
    const ControlState released{true, true, true, true, false, true, true, true};
    for (const FailureCase& c : FailureCases()) {
        ScaleWindow w;
        Prepare(w, c);
        w.h.Click("Button12");
        TForm1& f = *w.h.form;
        ASSERT_FALSE(f.ForTests().TransferFailed()) << c.name;
        int rowAtBox = 0;
        std::optional<ControlState> served;
        const auto onBox = w.h.dialogs->onBox;
        w.h.dialogs->onBox = [&](const ShownBox& box) {
            onBox(box);
            rowAtBox = f.ForTests().CurRow();
            QMetaObject::invokeMethod(
                &f,
                [&] {
                    if (!served) served = w.Controls();
                },
                Qt::QueuedConnection);
        };
        RunDownload(w);
        ASSERT_EQ(w.h.dialogs->boxes.size(), 1u) << c.name;
        ASSERT_EQ(rowAtBox, 1) << c.name;
        EXPECT_EQ(w.h.dialogs->boxes[0].kind, c.box) << c.name;
        EXPECT_EQ(w.h.dialogs->boxes[0].text, c.text) << c.name;
        EXPECT_EQ(w.atBox[0], c.releasedBeforeBox ? released : busy) << c.name;
        // Only ButOn hides Stop; the partial release leaves it to the driver's ending.
        ControlState after{true, c.butOn, true, c.upload, !c.butOn, true, true, true};
        ASSERT_TRUE(served.has_value()) << c.name;
        EXPECT_EQ(*served, after) << c.name;
        EXPECT_TRUE(w.NothingMoreAfter(c.bytesSent)) << c.name;
    }
}

// Through the driver: row 1 goes in, row 2 fails, nothing follows, no "Данные переданы".
TEST(DownloadRowOnTheLine, FailureInTheSecondRowEndsTheRun) {
    for (FailureCase c : FailureCases()) {
        ScaleWindow w;
        const bool plu = c.list == ListKind::Plu;
        w.SetList(c.list, plu ? std::vector<tables::Row>{PluRow(1), PluRow(2), PluRow(3)}
                              : std::vector<tables::Row>{MsgRow(1), MsgRow(2), MsgRow(3)});
        c.fault.occurrence = 2;
        w.scale.Inject(c.fault);
        RunDownload(w);
        EXPECT_EQ(w.BoxTexts(), std::vector<QString>{c.text}) << c.name;
        const std::size_t rowBytes = plu ? 76 : 404;
        EXPECT_TRUE(w.NothingMoreAfter(rowBytes + c.bytesSent)) << c.name;
        const auto exchanges = w.Ended(2);
        ASSERT_EQ(exchanges.size(), 2u) << c.name;
        EXPECT_TRUE(exchanges[0].complete) << c.name;
        EXPECT_EQ(exchanges[0].number, 1) << c.name;
        EXPECT_EQ(w.Controls(), (ControlState{true, true, true, plu, false, true, false, true}))
            << c.name;
    }
}

}  // namespace
