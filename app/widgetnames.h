#pragma once

#include <QPushButton>
#include <QString>

namespace pelmaris::app {

// Gives a widget its object name: the name the program uses for it everywhere.
template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QPushButton *namedButton(const QString &caption, const char *name, QWidget *parent = nullptr)
{
    return named(new QPushButton(caption, parent), name);
}

} // namespace pelmaris::app
