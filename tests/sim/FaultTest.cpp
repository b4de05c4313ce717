// Each injected fault, seen as the PC sees it: the scale's bytes up to the fault and nothing
// after, then a line that serves the next exchange.

#include <cerrno>

#include "FaultText.h"
#include "ScaleFixture.h"

using sim::Action;
using sim::Bytes;
using sim::Fault;
using sim::Kind;
using sim::Step;

namespace {

// One turn of a PC that stops as soon as an answer is not the one it expects.
struct Turn {
    Bytes send;
    Bytes answer;
};

std::vector<Turn> Script(Kind kind, const sim::PluRecord& stored) {
    const Bytes check = {0x00, 0x02};  // the scale's check for number 1
    switch (kind) {
        case Kind::Readout:
            return {{{0xA5}, {0x77}}, {{0x06}, Bytes(12, 0x00)}};
        case Kind::PluDownload:
            return {{{0xA5}, {0x77}},
                    {{0x02}, {0x01}},
                    {{0x00, 0x01}, check},
                    {Bytes(72, 0x41), {0x10}}};
        case Kind::MsgDownload:
            return {{{0xA5}, {0x77}},
                    {{0x00}, {0x01}},
                    {{0x00, 0x01}, check},
                    {Bytes(400, 0x20), {0x10}}};
        default: {
            Bytes record = Concat({Word(stored.plu),
                                   Long(std::uint32_t(stored.itemCode)),
                                   Of(stored.name1),
                                   Of(stored.name2),
                                   Long(std::uint32_t(stored.price)),
                                   Word(stored.shelfLife),
                                   Word(stored.tare),
                                   Word(stored.group),
                                   Word(stored.message),
                                   {0x10}});
            return {{{0xA5}, {0x77}}, {{0x05}, {0x01}}, {{0x00, 0x01}, Concat({check, record})}};
        }
    }
}

Bytes Normal(Kind kind) {
    Bytes all;
    for (const Turn& t : Script(kind, SamplePlu(1))) all = Concat({all, t.answer});
    return all;
}

class Faults : public ScaleTest {
  protected:
    Faults() { scale_.PutPlu(SamplePlu(1)); }

    // Every byte the scale sent in one exchange of this kind.
    Bytes Run(Kind kind) {
        Bytes got;
        for (const Turn& t : Script(kind, SamplePlu(1))) {
            pc_.Send(t.send);
            const Bytes answer = pc_.Read(t.answer.size(), std::chrono::milliseconds(400));
            got = Concat({got, answer});
            if (answer != t.answer) break;
        }
        return got;
    }

    // The PC gives up as its own time-out would; the scale must serve the next exchange.
    void ExpectLineRecovers() {
        EXPECT_EQ(Run(Kind::Readout), Normal(Kind::Readout)) << "line did not recover";
    }
};

Bytes Prefix(Kind kind, std::size_t n) {
    const Bytes all = Normal(kind);
    return Bytes(all.begin(), all.begin() + long(n));
}

Bytes Replace(Kind kind, std::size_t at, std::uint8_t byte) {
    Bytes b = Prefix(kind, at + 1);
    b[at] = byte;
    return b;
}

struct FaultCase {
    const char* text;
    Kind run;
    Bytes expected;
    bool stored;  // the download's record was stored all the same
};

TEST_F(Faults, EachFaultChangesTheAnswerAtItsStep) {
    const FaultCase cases[] = {
        {"any:ready:silence", Kind::Readout, {}, false},
        {"any:ready:byte=15", Kind::PluDownload, {0x15}, false},
        {"any:ready:byte=00", Kind::MsgDownload, {0x00}, false},
        {"plu:accept:byte=15", Kind::PluDownload, {0x77, 0x15}, false},
        {"upload:accept:byte=02", Kind::PluUpload, {0x77, 0x02}, false},
        {"plu:accept:silence", Kind::PluDownload, {0x77}, false},
        {"msg:accept:silence", Kind::MsgDownload, {0x77}, false},
        {"plu:check:refuse", Kind::PluDownload, {0x77, 0x01, 0x00, 0x00}, false},
        {"msg:check:refuse", Kind::MsgDownload, {0x77, 0x01, 0x00, 0x00}, false},
        {"upload:check:refuse", Kind::PluUpload, {0x77, 0x01, 0x00, 0x00}, false},
        {"plu:check:silence", Kind::PluDownload, {0x77, 0x01}, false},
        {"plu:closing:byte=11", Kind::PluDownload, Replace(Kind::PluDownload, 4, 0x11), true},
        {"msg:closing:byte=00", Kind::MsgDownload, Replace(Kind::MsgDownload, 4, 0x00), true},
        {"upload:closing:byte=ff", Kind::PluUpload, Replace(Kind::PluUpload, 78, 0xFF), false},
        {"msg:closing:silence", Kind::MsgDownload, Prefix(Kind::MsgDownload, 4), true},
        {"readout:record:stall=5", Kind::Readout, Prefix(Kind::Readout, 1 + 5), false},
        {"upload:record:stall=10", Kind::PluUpload, Prefix(Kind::PluUpload, 4 + 10), false},
        {"upload:record:stall=0", Kind::PluUpload, Prefix(Kind::PluUpload, 4), false},
        {"plu:record:stall=30", Kind::PluDownload, Prefix(Kind::PluDownload, 4), false},
        {"upload:record:stall=74", Kind::PluUpload, Prefix(Kind::PluUpload, 78), false},
        {"upload:record:stall=10/150", Kind::PluUpload, Normal(Kind::PluUpload), false},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.text);
        scale_.ClearPlus();
        scale_.ClearMessages();
        scale_.PutPlu(SamplePlu(1));
        scale_.SetDisplay(0, 0, 0);
        scale_.Inject(sim::ParseFault(c.text));
        EXPECT_EQ(Run(c.run), c.expected);
        if (c.run == Kind::PluDownload) {
            const auto plu = scale_.FindPlu(1);
            EXPECT_EQ(plu && plu->name1[0] == 0x41, c.stored);
        }
        if (c.run == Kind::MsgDownload) {
            EXPECT_EQ(scale_.FindMessage(1).has_value(), c.stored);
        }
        ExpectLineRecovers();
        EXPECT_EQ(Run(c.run), Normal(c.run)) << "a one-shot fault fired twice";
    }
}

TEST_F(Faults, ScaleWithoutMessagesNeverAnswersTheMessageCommand) {
    scale_.Inject(sim::NoMessages());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Run(Kind::MsgDownload), (Bytes{0x77}));
        ExpectLineRecovers();
    }
    EXPECT_TRUE(scale_.Messages().empty());
}

TEST_F(Faults, OccurrenceAndNumberPickTheExchange) {
    for (std::uint16_t plu = 2; plu <= 5; ++plu) scale_.PutPlu(SamplePlu(plu));
    Fault fifth;  // "0x15 in place of 0x77 at request 5"
    fifth.kind = Kind::Any;
    fifth.occurrence = 5;
    fifth.step = Step::Ready;
    fifth.action = Action::Byte;
    Fault third;
    third.kind = Kind::PluUpload;
    third.number = 3;
    third.step = Step::NumberCheck;
    third.action = Action::Refuse;
    scale_.Inject(fifth);
    scale_.Inject(third);

    std::vector<Bytes> checks;  // the number check, or the answer to the request byte
    for (std::uint16_t request = 1; request <= 5; ++request) {
        pc_.Send({0xA5});
        const Bytes ready = pc_.Read(1, std::chrono::milliseconds(400));
        if (ready != Bytes{0x77}) {
            checks.push_back(ready);
            continue;
        }
        Bytes got = pc_.Ask({0x05}, 1);
        got = Concat({got, pc_.Ask(Word(request), 2)});
        if (got.back() != 0x00) got = Concat({got, pc_.Read(75)});
        checks.push_back(Bytes(got.begin() + 1, got.begin() + 3));
    }
    ASSERT_EQ(checks.size(), 5u);
    EXPECT_EQ(checks[1], (Bytes{0x00, 0x03})) << "request 2 accepted";
    EXPECT_EQ(checks[2], (Bytes{0x00, 0x00})) << "request 3 refused";
    EXPECT_EQ(checks[3], (Bytes{0x00, 0x05})) << "request 4 accepted";
    EXPECT_EQ(checks[4], (Bytes{0x15})) << "fifth request byte answered 0x15";
    ASSERT_TRUE(scale_.WaitExchanges(5, std::chrono::seconds(3)));
    EXPECT_EQ(scale_.Exchanges()[2].toPc, (Bytes{0x77, 0x01, 0x00, 0x00}));
    EXPECT_EQ(scale_.Exchanges()[3].toPc.size(), 79u);
}

TEST_F(Faults, HangUpInTheRecordClosesTheLine) {
    for (const char* text : {"upload:record:hangup=10", "plu:record:hangup=5"}) {
        SCOPED_TRACE(text);
        TempConfig config;
        sim::VirtualScale scale(Linked());
        scale.PutPlu(SamplePlu(1));
        PcSide pc(scale.SlavePath());
        scale.Inject(sim::ParseFault(text));
        const bool upload = text[0] == 'u';
        const Bytes head =
            Concat({pc.Ask({0xA5}, 1), pc.Ask({std::uint8_t(upload ? 0x05 : 0x02)}, 1),
                    pc.Ask({0x00, 0x01}, 2)});
        EXPECT_EQ(head, (Bytes{0x77, 0x01, 0x00, 0x02}));
        if (!upload) pc.Send(Bytes(72, 0x41));
        EXPECT_EQ(pc.Read(100).size(), upload ? 10u : 0u);
        EXPECT_TRUE(pc.HangUpSeen() == 0 || pc.HangUpSeen() == EIO) << pc.HangUpSeen();
        EXPECT_TRUE(scale.HungUp());
    }
}

TEST_F(Faults, ImpossibleFaultsAreRejected) {
    const char* texts[] = {
        "plu:ready:silence",        // the command is not known at the ready step
        "upload#3:accept:byte=15",  // nor the number at the accept step
        "readout:accept:silence",   // the readout has no accept step
        "any:ready:refuse",         // refusing fits the number check only
        "plu:closing:stall=3",      // stalls happen inside a record
        "plu:record:byte=15",       // a record has no single answer byte
        "plu:check:hangup=2",
        "upload:ready",            // no action
        "upload:record:stall",     // no byte count
        "any:ready:byte=100",      // not a byte
        "any:ready:byte=15:once",  // unknown suffix
        "scale:ready:silence",     // unknown exchange
    };
    for (const char* text : texts)
        EXPECT_THROW(sim::ParseFault(text), std::invalid_argument) << text;
    Fault f;
    f.kind = Kind::MsgDownload;
    f.step = Step::Ready;
    EXPECT_THROW(scale_.Inject(f), std::invalid_argument);
}

TEST_F(Faults, SpecFieldsLandInTheFault) {
    const Fault f = sim::ParseFault("upload@2#7:record:stall=10/250:always");
    EXPECT_EQ(f.kind, Kind::PluUpload);
    EXPECT_EQ(f.occurrence, 2);
    EXPECT_EQ(f.number, 7);
    EXPECT_EQ(f.step, Step::Record);
    EXPECT_EQ(f.action, Action::Stall);
    EXPECT_EQ(f.afterBytes, 10u);
    EXPECT_EQ(f.stallMs, 250);
    EXPECT_TRUE(f.persistent);
    EXPECT_EQ(sim::ParseFault("msg:closing:byte=1f").byte, 0x1F);
}

}  // namespace
