#pragma once

#include "model/grid_status.h"

#include <QLocale>
#include <QString>

#include <array>
#include <optional>

namespace voltwise {

// The three items published to other programs.
struct PublishedItems
{
    QString UpdateTime;
    QString SystemCondition;
    QString CurrentLoad;

    // What the items read before the first refresh.
    static PublishedItems initial();

    friend bool operator==(const PublishedItems &, const PublishedItems &) = default;
};

// Everything the window shows of one status record, computed without
// widgets. An empty optional means "keep what is shown": the level is outside
// the known range, or (chart header) there is no load figure.
struct StatusPresentation
{
    QString UpdateTime;
    std::optional<QString> SystemCondition;
    QString CurrentLoad;

    std::optional<int> imageIndex;  // 1..8, for the tray icon and picStatusIcon
    std::optional<QString> trayTip; // already cut to the tray's limit
    std::optional<QString> lblStatusText;
    std::array<bool, 6> lblStatus{}; // lit labels of the level scale
    std::array<bool, 3> lblForecast{};
    std::array<QString, 7> lblCurrentCondition;
    std::array<QString, 8> lblLoadReduction;
    std::optional<QString> chartHeader;

    // The published items after this presentation, starting from previous.
    PublishedItems publishedItems(const PublishedItems &previous) const;
};

StatusPresentation PresentStatus(const GridStatus &status, const QLocale &locale);

// Before the first refresh: image 1 and the tip "Status Unknown".
inline constexpr int kInitialImageIndex = 1;
QString InitialTrayTip();

} // namespace voltwise
