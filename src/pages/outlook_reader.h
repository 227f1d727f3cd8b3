#pragma once

#include "model/outlook_values.h"

#include <QStringView>

namespace voltwise {

// Reads the hourly figures of the operator's outlook page: two tables (hours
// ending 1-12, then 13-24), each with a row per series keyed by its name in
// OutlookSeriesNames. One cursor moves forward through the page across both
// tables. A missing row keeps its twelve values; an empty cell stores
// HoleValue; a cell that is not a number in the operator's conventions keeps
// its value, whatever the user's locale.
// Once no further "<td" is found, nothing more is read. An unreadable page
// (see IsReadablePage) keeps every value.
OutlookValues ReadOutlookPage(QStringView page, const OutlookValues &previous);

} // namespace voltwise
