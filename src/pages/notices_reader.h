#pragma once

#include "model/notices_texts.h"

#include <QStringView>

namespace voltwise {

// Reads the operator's status page. An unreadable page (see IsReadablePage)
// keeps both texts; otherwise NoticesText is rebuilt and StatusTableText is
// replaced only when the page holds the whole table.
NoticesTexts ReadNoticesPage(QStringView page, const NoticesTexts &previous);

} // namespace voltwise
