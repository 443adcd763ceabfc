#pragma once

#include "scan/pathorder.h"

#include <QString>

namespace pelmaris::scan {

class ImageListModel;

// Check-mark commands over the whole list, each one model update.

// Checks the rows whose path lies inside `folder` (at any depth) and unchecks the rest;
// returns how many were checked.
int checkRowsInsideFolder(ImageListModel &model, const QString &folder);

// Puts the checked rows before the unchecked ones, each group keeping its order.
void moveCheckedFirst(ImageListModel &model);

// The checked rows first, then the unchecked ones, each group in a uniformly random
// order drawn from `engine`.
void shuffleCheckedFirst(ImageListModel &model, RandomEngine &engine);

} // namespace pelmaris::scan
