#pragma once

#include "app/settings.h"
#include "scan/pathorder.h"

#include <QObject>

namespace pelmaris::app {

// The options in force while the program runs. The controls that show them write the
// user's choices here, the settings fill it at start and read it at close, and the
// controllers ask it, never a control. The current folder, the browser names, the tree's
// width and its scroll position are kept by their owners and gathered only at close.
class CurrentOptions : public QObject {
    Q_OBJECT

public:
    explicit CurrentOptions(QObject *parent = nullptr) : QObject(parent) {}

    const Options &values() const { return m_values; }
    void setValues(const Options &values);

    template <class T> void set(T Options::*member, const T &value)
    {
        if (m_values.*member == value)
            return;
        m_values.*member = value;
        Q_EMIT changed();
    }

    // The order the tree menu's checked entry asks for, None when no entry is checked.
    scan::ScanOrder scanOrder() const;

Q_SIGNALS:
    void changed();

private:
    Options m_values;
};

} // namespace pelmaris::app
