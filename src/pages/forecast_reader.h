#pragma once

#include <QString>
#include <QStringView>

namespace voltwise {

// Reads the operator's forecast page into the text of the Forecasts tab. An
// unreadable page (see IsReadablePage) keeps the previous text.
QString ReadForecastPage(QStringView page, const QString &previousForecastsText);

} // namespace voltwise
