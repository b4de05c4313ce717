#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "CodePage1251.h"

namespace {
Answer NextAnswer(std::deque<Answer>& queue) {
    if (queue.empty()) return Answer::Cancel;
    const Answer answer = queue.front();
    queue.pop_front();
    return answer;
}

std::optional<QString> NextPath(std::deque<std::optional<QString>>& queue) {
    std::optional<QString> path;
    if (!queue.empty()) {
        path.swap(queue.front());
        queue.pop_front();
    }
    return path;
}
}  // namespace

void ScriptedDialogs::ErrorBox(const QString& text) {
    boxes.push_back({BoxKind::Error, text});
    if (onBox) onBox(boxes.back());
}

void ScriptedDialogs::PlainBox(const QString& text) {
    boxes.push_back({BoxKind::Plain, text});
    if (onBox) onBox(boxes.back());
}

void ScriptedDialogs::WarningBox(const QString& text) {
    boxes.push_back({BoxKind::Warning, text});
    if (onBox) onBox(boxes.back());
}

Answer ScriptedDialogs::SavePrompt(const QString& text) {
    boxes.push_back({BoxKind::Prompt, text});
    if (onBox) onBox(boxes.back());
    return NextAnswer(promptAnswers);
}

Answer ScriptedDialogs::Question(const QString& text) {
    boxes.push_back({BoxKind::Question, text});
    if (onBox) onBox(boxes.back());
    return NextAnswer(promptAnswers) == Answer::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> ScriptedDialogs::OpenFile(const FileDialogRequest& request) {
    fileDialogs.push_back({false, request});
    return NextPath(fileAnswers);
}

std::optional<QString> ScriptedDialogs::SaveFile(const FileDialogRequest& request) {
    fileDialogs.push_back({true, request});
    return NextPath(fileAnswers);
}

std::optional<ChosenFile> ScriptedDialogs::SaveFileChoosingFilter(
    const FileDialogRequest& request) {
    const std::optional<QString> path = SaveFile(request);
    int filter = 0;
    if (!filterAnswers.empty()) {
        filter = filterAnswers.front();
        filterAnswers.pop_front();
    }
    if (!path) return std::nullopt;
    return ChosenFile{*path, filter};
}

namespace {
ShownColumnsDialog Offered(const jobs::ImportChoice& choice) {
    ShownColumnsDialog shown;
    shown.text = choice.IsText();
    shown.encoding = choice.Encoding();
    shown.delimiter = choice.Delimiter();
    for (const auto& row : choice.Rows()) {
        shown.rows.emplace_back();
        for (const std::string& cell : row) shown.rows.back().push_back(tables::Cp1251ToUtf8(cell));
    }
    shown.lines = choice.Lines();
    shown.headerLine = choice.HeaderRow() >= 0 ? choice.Lines()[choice.HeaderRow()] : 0;
    shown.targets = choice.Targets();
    shown.fromRemembered = choice.FromRemembered();
    shown.offered = choice.Preview();
    return shown;
}

void ApplyAnswer(const ColumnsAnswer& answer, jobs::ImportChoice& choice) {
    if (answer.encoding) choice.SetEncoding(*answer.encoding);
    if (answer.delimiter) choice.SetDelimiter(*answer.delimiter);
    if (answer.headerLine > 0) {
        const auto& lines = choice.Lines();
        const auto at = std::find(lines.begin(), lines.end(), answer.headerLine);
        if (at == lines.end())
            ADD_FAILURE() << "no row on line " << answer.headerLine;
        else
            choice.SetHeaderRow(static_cast<int>(at - lines.begin()));
    }
    const std::vector<std::string> header = choice.HeaderCells();
    for (const auto& [title, key] : answer.targets) {
        const auto at = std::find_if(header.begin(), header.end(), [&](const std::string& cell) {
            return tables::DecodeCp1251(cell).trimmed().toStdString() == title;
        });
        if (at == header.end()) {
            ADD_FAILURE() << "the header has no " << title;
            continue;
        }
        choice.SetTarget(static_cast<int>(at - header.begin()), key);
    }
}
}  // namespace

bool ScriptedDialogs::ChooseColumns(jobs::ImportChoice& choice) {
    columnsDialogs.push_back(Offered(choice));
    if (columnsAnswers.empty()) return false;
    const ColumnsAnswer answer = columnsAnswers.front();
    columnsAnswers.pop_front();
    ApplyAnswer(answer, choice);
    columnsDialogs.back().answered = choice.Preview();
    return answer.ok;
}

std::vector<QString> ScriptedDialogs::Texts(BoxKind kind) const {
    std::vector<QString> texts;
    for (const auto& box : boxes)
        if (box.kind == kind) texts.push_back(box.text);
    return texts;
}
