#include "platform/linux/propertiesdialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace pelmaris::platform {

namespace {

QString permissionText(QFile::Permissions p)
{
    const auto bit = [&](QFile::Permission flag, char c) { return p.testFlag(flag) ? c : '-'; };
    QString s;
    s += bit(QFile::ReadOwner, 'r');
    s += bit(QFile::WriteOwner, 'w');
    s += bit(QFile::ExeOwner, 'x');
    s += bit(QFile::ReadGroup, 'r');
    s += bit(QFile::WriteGroup, 'w');
    s += bit(QFile::ExeGroup, 'x');
    s += bit(QFile::ReadOther, 'r');
    s += bit(QFile::WriteOther, 'w');
    s += bit(QFile::ExeOther, 'x');
    return s;
}

} // namespace

PropertiesDialog::PropertiesDialog(const QString &path, QWidget *parent) : QDialog(parent)
{
    const QFileInfo info(path);
    const QLocale locale;
    const QString timePattern = QStringLiteral("yyyy/MM/dd HH:mm:ss");
    setWindowTitle(info.fileName());
    auto *form = new QFormLayout;
    const auto row = [&](const QString &label, const QString &text) {
        auto *value = new QLabel(text);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setTextFormat(Qt::PlainText);
        form->addRow(label, value);
    };
    row(QStringLiteral("名前:"), info.fileName());
    row(QStringLiteral("場所:"), info.absolutePath());
    if (info.isFile())
        row(QStringLiteral("サイズ:"), locale.toString(info.size()) + QStringLiteral(" バイト"));
    row(QStringLiteral("作成日時:"), info.birthTime().toString(timePattern));
    row(QStringLiteral("更新日時:"), info.lastModified().toString(timePattern));
    row(QStringLiteral("アクセス日時:"), info.lastRead().toString(timePattern));
    row(QStringLiteral("アクセス権:"), permissionText(info.permissions()));
    if (info.isFile()) {
        QImageReader reader(path);
        if (reader.canRead()) {
            const QSize size = reader.size();
            row(QStringLiteral("画像形式:"), QString::fromLatin1(reader.format()).toUpper());
            row(QStringLiteral("画像サイズ:"),
                QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
        }
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace pelmaris::platform
