#include "ScriptedDialogs.h"

namespace {
template <typename T>
T Next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
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

Answer ScriptedDialogs::SavePrompt(const QString& text) {
    boxes.push_back({BoxKind::Prompt, text});
    if (onBox) onBox(boxes.back());
    return Next(promptAnswers, Answer::Cancel);
}

std::optional<QString> ScriptedDialogs::OpenFile(const FileDialogRequest& request) {
    fileDialogs.push_back({false, request});
    return Next(fileAnswers, std::optional<QString>{});
}

std::optional<QString> ScriptedDialogs::SaveFile(const FileDialogRequest& request) {
    fileDialogs.push_back({true, request});
    return Next(fileAnswers, std::optional<QString>{});
}

std::vector<QString> ScriptedDialogs::Texts(BoxKind kind) const {
    std::vector<QString> texts;
    for (const auto& box : boxes)
        if (box.kind == kind) texts.push_back(box.text);
    return texts;
}
