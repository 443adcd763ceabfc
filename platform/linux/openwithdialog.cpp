#include "platform/linux/openwithdialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmaris::platform {

namespace {

QIcon iconFor(const QString &name)
{
    if (name.isEmpty())
        return {};
    if (name.startsWith(u'/'))
        return QIcon(name);
    return QIcon::fromTheme(name);
}

} // namespace

OpenWithDialog::OpenWithDialog(const QString &path, const QList<gio::Application> &applications,
                               QWidget *parent)
    : QDialog(parent), m_applications(applications)
{
    setWindowTitle(QStringLiteral("プログラムを選択して開く"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("このファイルを開くプログラムを選んでください:\n") +
                             QFileInfo(path).fileName());
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addWidget(label);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("applications"));
    for (const gio::Application &app : m_applications)
        m_list->addItem(new QListWidgetItem(iconFor(app.icon), app.name));
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    layout->addWidget(m_list);

    auto *buttons = new QDialogButtonBox;
    QPushButton *open = buttons->addButton(QStringLiteral("開く"), QDialogButtonBox::AcceptRole);
    open->setEnabled(m_list->count() > 0);
    QPushButton *other =
        buttons->addButton(QStringLiteral("その他のプログラム..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(open, &QPushButton::clicked, this, [this] { chooseRow(m_list->currentRow()); });
    connect(other, &QPushButton::clicked, this, &OpenWithDialog::pickOtherProgram);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { chooseRow(m_list->row(item)); });
    resize(420, 360);
}

void OpenWithDialog::chooseRow(int row)
{
    if (row < 0 || row >= m_applications.size())
        return;
    m_entry = m_applications.at(row).entryFile;
    m_program.clear();
    accept();
}

void OpenWithDialog::pickOtherProgram()
{
    const QString program = QFileDialog::getOpenFileName(this, QStringLiteral("プログラムを選択"),
                                                         QStringLiteral("/usr/bin"));
    if (program.isEmpty())
        return; // back to the list
    m_program = program;
    m_entry.clear();
    accept();
}

} // namespace pelmaris::platform
