#include "app/helppage.h"

#include "app/helpicons.h"
#include "app/widgetnames.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmaris::app {

HelpPage::HelpPage(FormControls &ui, QWidget *parent) : QWidget(parent)
{
    ui.TabSheetHelp = named(static_cast<QWidget *>(this), "TabSheetHelp");
    auto *page = new QVBoxLayout(this);
    ui.GrdPnlHelp = named(new QWidget, "GrdPnlHelp");
    page->addWidget(ui.GrdPnlHelp);
    auto *grid = new QGridLayout(ui.GrdPnlHelp);
    ui.btnHelp = namedButton(QStringLiteral("ヘルプ表示"), "btnHelp");
    ui.bnAbout = namedButton(QStringLiteral("バージョン情報"), "bnAbout");
    ui.btnProperties = namedButton(QStringLiteral("プロパティ表示"), "btnProperties");
    ui.btnDonation = namedButton(QStringLiteral("開発支援"), "btnDonation");
    ui.btnHomeSite = namedButton(QStringLiteral("ホームページ"), "btnHomeSite");
    const QList<QIcon> icons = ImageList3();
    int r = 0;
    for (QPushButton *b :
         {ui.btnHelp, ui.bnAbout, ui.btnProperties, ui.btnDonation, ui.btnHomeSite}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setCursor(Qt::PointingHandCursor);
        b->setIcon(icons.value(r));
        b->setIconSize(QSize(32, 32));
        grid->addWidget(b, r, 0);
        grid->setRowStretch(r++, 1);
    }
    ui.Memo1 = named(new QPlainTextEdit, "Memo1");
    ui.Memo1->hide();
    ui.Memo1->setEnabled(false);
    grid->addWidget(ui.Memo1, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

} // namespace pelmaris::app
