#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace zep {

// Controls carry their name as objectName, so tests and the windows find them by it.
inline QLineEdit* makeEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

// Buttons of dialogs do not become the default button by taking the focus.
inline QPushButton* makeButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

inline QRadioButton* makeRadioButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

// The small flat buttons beside lists and grids, with their hint.
inline QToolButton* makeSpeedButton(const QString& name, const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(32, 26);
    return button;
}

} // namespace zep
