#pragma once

#include <QString>

#include <array>

namespace pelmaris::scan {

// One row of the image list.
struct ListItem {
    enum SubItem { Format, ByteSize, Width, Height, Modified, SubItemCount };

    QString caption; // the file's full path
    bool checked = true;
    int imageIndex = -1; // position of the row's thumbnail in the model's image list
    std::array<QString, SubItemCount> subItems;
    int data = 0; // ordering key of the move commands
};

} // namespace pelmaris::scan
