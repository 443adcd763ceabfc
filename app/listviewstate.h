#pragma once

#include <QObject>

namespace pelmaris::app {

enum class ListForm { Preview, Detail };

// The image list's own state, which its option row and its views show: the view the
// radio buttons chose (what the list's copy and save go by), the view on screen (the
// menu switches it without moving the radio buttons), and the two check boxes that
// mark many rows at once. Not saved in the settings: every start shows the preview with
// all rows checked.
class ListViewState : public QObject {
    Q_OBJECT

public:
    explicit ListViewState(QObject *parent = nullptr) : QObject(parent) {}

    ListForm chosenForm() const { return m_chosen; }
    bool detailChosen() const { return m_chosen == ListForm::Detail; }
    ListForm shownForm() const { return m_shown; }
    bool allChecked() const { return m_all; }
    bool topTenthChecked() const { return m_topTenth; }

    void setChosenForm(ListForm form) { change(m_chosen, form); }
    void setShownForm(ListForm form) { change(m_shown, form); }
    void setAllChecked(bool checked) { change(m_all, checked); }
    void setTopTenthChecked(bool checked) { change(m_topTenth, checked); }

Q_SIGNALS:
    void changed();

private:
    template <class T> void change(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        Q_EMIT changed();
    }

    ListForm m_chosen = ListForm::Preview;
    ListForm m_shown = ListForm::Preview;
    bool m_all = true;
    bool m_topTenth = false;
};

} // namespace pelmaris::app
