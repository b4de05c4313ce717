#pragma once
// Event filters that turn a widget event into a call: a click on a label, a change of a
// button's enabled state.

#include <QEvent>
#include <QObject>
#include <functional>

class EventHook : public QObject {
  public:
    EventHook(QObject* watched, QEvent::Type type, std::function<void()> action)
        : QObject(watched), type_(type), action_(std::move(action)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) action_();
        return false;
    }

  private:
    QEvent::Type type_;
    std::function<void()> action_;
};
