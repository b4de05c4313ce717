#include "ShopTexts.h"

#include "DisplayFormat.h"
#include "DownloadSteps.h"
#include "Texts.h"
#include "TransferOutcome.h"

namespace texts {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString KindWords(const std::string& kind) {
    if (kind == "plu-download") return QStringLiteral("загрузка PLU");
    if (kind == "msg-download") return QStringLiteral("загрузка сообщений");
    if (kind == "plu-upload") return QStringLiteral("чтение PLU");
    if (kind == "readout") return QStringLiteral("показания дисплея");
    if (kind == "plu-compare") return QStringLiteral("сверка");
    return Q(kind);
}

QString OutcomeWords(const std::string& outcome) {
    if (outcome == "ok") return QStringLiteral("готово");
    if (outcome == "stopped") return QStringLiteral("остановлено");
    if (outcome == jobs::kKnownStale) return QStringLiteral("в весах не то, что было передано");
    return QStringLiteral("ошибка %1").arg(Q(outcome));
}

// Why a load's failed row failed, in the words of the boxes of one scale's load.
QString FailureWords(const jobs::Failure& failure) {
    if (failure.BadRow()) return RowProblemText(failure.problem);
    const std::optional<LinkFailure> link = FailureOf(*failure.outcome);
    return link ? link->text : LinkCheck();
}

QString LoadLine(const jobs::ChangesResult& load) {
    using End = jobs::ChangesResult::End;
    switch (load.end) {
        case End::NothingChanged:
            return NothingChanged(load.rows + std::max(load.skipped, 0));
        case End::Declined:
            if (load.distrust == jobs::Distrust::NotKeepable)
                return ChangesNotKeepable(Q(load.detail))
                    .replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            return QStringLiteral("ничего не передано: ответ «Нет»");
        case End::CheckFailed:
            return QStringLiteral("проверка не прошла: %1").arg(FailureWords(*load.report.failure));
        case End::Sent:
            break;
    }
    const jobs::Report& r = load.report;
    const int failedRow = r.failure ? r.failure->row : 0;
    QString line = SentStatus(r.rowsDone, load.rows, r.stopped, failedRow, load.skipped);
    if (r.failure && !r.stopped) line += QStringLiteral(": ") + FailureWords(*r.failure);
    if (!r.failure && !r.stopped) line = DataSent() + QStringLiteral(". ") + line;
    return line;
}

QString ReadoutLine(const jobs::ReadoutRun& run) {
    if (run.outcome != scale::ReadoutOutcome::Ok) return LinkCheck();
    return QStringLiteral("вес %1, цена %2, стоимость %3")
        .arg(Q(scale::FormatWeight(run.reading.weight)), Q(scale::FormatPrice(run.reading.price)),
             Q(scale::FormatTotal(run.reading.total)));
}

QString EndLine(const jobs::ShopScaleEnd& end, jobs::ShopTask task) {
    if (!end.Opened()) return Q(end.openProblem);
    return task == jobs::ShopTask::ReadDisplay ? ReadoutLine(end.readout) : LoadLine(end.load);
}

bool EndedWell(const jobs::ShopScaleEnd& end, jobs::ShopTask task) {
    if (!end.Opened()) return false;
    if (task == jobs::ShopTask::ReadDisplay)
        return end.readout.outcome == scale::ReadoutOutcome::Ok;
    using End = jobs::ChangesResult::End;
    if (end.load.end == End::NothingChanged) return true;
    return end.load.end == End::Sent && !end.load.report.failure && !end.load.report.stopped;
}

QString Joined(const QStringList& ports) {
    return ports.join(QStringLiteral(", "));
}

}  // namespace

QString ShopScalesTitle() {
    return QStringLiteral("Весы магазина");
}
QString ShopRunRefusal() {
    return QStringLiteral(
        "Идёт обмен с весами магазина: пока он не закончится, таблицу и порт менять нельзя.\r\n"
        "Дождитесь конца обмена или нажмите «Стоп» в окне «Весы магазина».");
}
QString ShopCloseQuestion() {
    return QStringLiteral(
        "Идёт обмен с весами магазина.\r\nОстановить его после текущих записей и закрыть окно?");
}
QString NoScaleChecked() {
    return QStringLiteral("Отметьте весы, с которыми работать");
}
QString OwnPortOpens() {
    return QStringLiteral("открыт в главном окне");
}
QString PortOpens() {
    return QStringLiteral("открывается");
}
QString LastRunText(const jobs::LastRun& run) {
    const QString rows =
        run.rows > 0 ? PartOf(run.rowsDone, run.rows) : QString::number(run.rowsDone);
    return QStringLiteral("%1: %2, %3, %4")
        .arg(Q(run.when.substr(0, 16)), KindWords(run.kind), rows, OutcomeWords(run.outcome));
}
QString NoLastRun() {
    return QStringLiteral("обмена не было");
}
QString KnownText(int plus, const QString& plusSince, int messages, const QString& messagesSince) {
    QStringList parts;
    if (!plusSince.isEmpty()) parts << QStringLiteral("PLU: %1 с %2").arg(plus).arg(plusSince);
    if (!messagesSince.isEmpty())
        parts << QStringLiteral("сообщений: %1 с %2").arg(messages).arg(messagesSince);
    return parts.isEmpty() ? QStringLiteral("неизвестно") : parts.join(QStringLiteral("; "));
}

QString MergedQuestionText(const jobs::MergedQuestion& question, const QStringList& ports) {
    QStringList names;
    QStringList counts;
    for (const jobs::ScaleQuestion& q : question.asked) {
        const QString name = ports.value(q.scale);
        names << name;
        counts << name + QStringLiteral(": ") + PartOf(q.toSend, q.rows);
    }
    switch (question.kind) {
        case jobs::QuestionKind::NothingKnown:
            return NothingKnown(Joined(names));
        case jobs::QuestionKind::KnownStale:
            return KnownStale(Joined(names));
        case jobs::QuestionKind::MessagesUnchecked:
            return MessagesUnchecked(counts.join(QStringLiteral("; ")));
    }
    return {};
}

QString ShopProgressText(const jobs::ShopScaleState& state, jobs::ShopTask task) {
    using Stage = jobs::ShopScaleState::Stage;
    switch (state.stage) {
        case Stage::Opening:
            return QStringLiteral("открывается порт");
        case Stage::Checking:
            return QStringLiteral("проверка весов");
        case Stage::Asking:
            return QStringLiteral("ждёт ответа");
        case Stage::Reading:
            return QStringLiteral("чтение дисплея");
        case Stage::Sending:
            return state.row > 0 ? QStringLiteral("строка ") + PartOf(state.row, state.rows)
                                 : QStringLiteral("передача");
        case Stage::Ended:
            break;
    }
    if (!state.end) return {};
    return EndedWell(*state.end, task) ? QStringLiteral("готово") : EndLine(*state.end, task);
}

QString ShopEndText(const std::vector<jobs::ShopScaleState>& states, const QStringList& ports,
                    jobs::ShopTask task) {
    QStringList lines;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const QString port = ports.value(static_cast<int>(i));
        const QString what =
            states[i].end ? EndLine(*states[i].end, task) : QStringLiteral("не закончено");
        lines << port + QStringLiteral(": ") + what;
    }
    return lines.join(QStringLiteral("\r\n"));
}

bool ShopAllWell(const std::vector<jobs::ShopScaleState>& states, jobs::ShopTask task) {
    for (const auto& s : states)
        if (!s.end || !EndedWell(*s.end, task)) return false;
    return true;
}

}  // namespace texts
