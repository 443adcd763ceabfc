#include "scan/listchecks.h"

#include "platform/pathtext.h"
#include "scan/imagelistmodel.h"

#include <algorithm>
#include <numeric>

namespace pelmaris::scan {

int checkRowsInsideFolder(ImageListModel &model, const QString &folder)
{
    // A prefix of whole path elements: the folder's name elsewhere in a path is no match.
    return model.setCheckedWhere([&folder](int, const ListItem &item) {
        return pathtext::isInsideFolder(item.caption, folder);
    });
}

void moveCheckedFirst(ImageListModel &model)
{
    std::vector<int> order(size_t(model.rowCount()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_partition(order.begin(), order.end(),
                          [&model](int row) { return model.item(row).checked; });
    model.reorder(order);
}

void shuffleCheckedFirst(ImageListModel &model, RandomEngine &engine)
{
    std::vector<int> checked;
    std::vector<int> unchecked;
    for (int row = 0; row < model.rowCount(); ++row)
        (model.item(row).checked ? checked : unchecked).push_back(row);
    std::shuffle(checked.begin(), checked.end(), engine);
    std::shuffle(unchecked.begin(), unchecked.end(), engine);
    checked.insert(checked.end(), unchecked.begin(), unchecked.end());
    model.reorder(checked);
}

} // namespace pelmaris::scan
