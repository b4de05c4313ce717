#include "ScriptedDialogs.h"

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

std::vector<QString> ScriptedDialogs::Texts(BoxKind kind) const {
    std::vector<QString> texts;
    for (const auto& box : boxes)
        if (box.kind == kind) texts.push_back(box.text);
    return texts;
}
