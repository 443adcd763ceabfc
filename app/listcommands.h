#pragma once

#include "app/formcontext.h"

#include <QObject>

class QLabel;
class QModelIndex;

namespace pelmaris::app {

// The image list's own commands: check marks, views, shuffle, the list click, showing the
// first and last row, clearing, and the list menu's enabling.
class ListCommands : public QObject {
    Q_OBJECT

public:
    explicit ListCommands(const FormContext &context, QObject *parent = nullptr);

    void CheckBoxAll1Click();
    void CheckBoxTop10Click();
    void BtnShuffle1Click();
    void pm1vsIconClick();
    void pm1vsReportClick();
    void RbPreViewClick();
    void RbReportClick();
    void ListView1Click(const QModelIndex &index);
    void pm1ShowTopClick();
    void pm1ShowBottomClick();
    void pm1ClearClick();
    void PopupMenu1Popup();
    // The list menu's entries on or off as they would be if it opened now (its keys
    // work by these); returns the selected row, or -1.
    int updateMenuEnabling();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitPathColumn();
    void updateHint();

    FormContext m_c;
    QLabel *m_hint = nullptr;
    // Compared only: while the views are destroyed their viewports still send events.
    const QObject *m_detailsViewport = nullptr;
    const QObject *m_previewViewport = nullptr;
};

} // namespace pelmaris::app
