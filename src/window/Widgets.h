#pragma once
// Small factories for named controls, most of them placed at fixed pixel positions as the form
// places them.

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

struct Place {
    int left, top, width, height;
};

// The name tests and checks find the control by.
template <typename W>
W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

template <typename W>
W* Placed(W* widget, const char* name, Place at) {
    Named(widget, QString::fromLatin1(name));
    widget->setGeometry(at.left, at.top, at.width, at.height);
    return widget;
}

inline QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                               Place at) {
    return Placed(new QPushButton(caption, parent), name, at);
}

inline QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, Place at) {
    return Placed(new QLabel(caption, parent), name, at);
}

inline QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items, Place at) {
    auto* list = Placed(new QComboBox(parent), name, at);
    list->addItems(items);
    return list;
}

// A font of the form's family, falling back to a metric twin of Arial where Linux lacks it.
inline QFont FormFont(const QString& family, int pixels, bool bold = false) {
    QFont font;
    font.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The 17-pixel "MS Sans Serif" of the captions that stand out.
inline QFont LargeFont(bool bold = false) {
    return FormFont(QStringLiteral("MS Sans Serif"), 17, bold);
}
