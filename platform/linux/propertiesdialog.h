#pragma once

#include <QDialog>

namespace pelmaris::platform {

// A file's name, folder, size, times, permissions and, for images, format and size;
// shown where no file manager offers its own properties window.
class PropertiesDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PropertiesDialog(const QString &path, QWidget *parent = nullptr);
};

} // namespace pelmaris::platform
