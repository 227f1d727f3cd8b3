#pragma once

#include "core/server_urls.h"
#include "settings/settings_names.h"

#include <QLatin1String>

#include <array>
#include <string_view>

namespace voltwise {

// How a setting's text is read.
enum class SettingType
{
    Boolean,     // "True" or "False" in any case, or a number: 0 is False
    WholeNumber, // a 32-bit number
    Minutes,     // a whole number of minutes, at least 1; above 10000 it is divided by 10000
    Text,
    Placement, // "left,top,width,height,state", twips and a window state
    ServerUrl, // "http[s]://host[:port]"
    Choice,    // one of a few words, letter case aside
};

// A key of the application's settings with its default as stored text.
struct SettingKey
{
    QLatin1String section;
    QLatin1String name;
    SettingType type;
    QLatin1String defaultText;

    constexpr bool defaultBoolean() const { return stored() == "True"; }

    constexpr qint32 defaultNumber() const
    {
        const std::string_view text = stored();
        qint32 number = 0;
        for (const char c : text.substr(text.starts_with('-') ? 1 : 0))
            number = number * 10 + (c - '0');
        return text.starts_with('-') ? -number : number;
    }

private:
    constexpr std::string_view stored() const
    {
        return {defaultText.data(), std::size_t(defaultText.size())};
    }
};

// Every key the program reads or writes under its application name.
namespace SettingKeys {

using L = QLatin1String;
using enum SettingType;

inline constexpr SettingKey AlwaysOnTop{kSettingsSection, L("AlwaysOnTop"), Boolean, L("False")};
inline constexpr SettingKey AutoCheck{kSettingsSection, L("AutoCheck"), Boolean, L("True")};
inline constexpr SettingKey AutoUpdate{kSettingsSection, L("AutoUpdate"), Boolean, L("True")};
inline constexpr SettingKey CAISOGraph{kSettingsSection, L("CAISOGraph"), Boolean, L("False")};
// One bit per chart series; 15 shows the first four.
inline constexpr SettingKey GraphValues{kSettingsSection, L("GraphValues"), WholeNumber, L("15")};
inline constexpr SettingKey PlaySound{kSettingsSection, L("PlaySound"), Boolean, L("True")};
inline constexpr SettingKey ShowAtStartup{kSettingsSection, L("ShowAtStartup"), Boolean, L("True")};
inline constexpr SettingKey ShowDetails{kSettingsSection, L("ShowDetails"), Boolean, L("True")};
inline constexpr SettingKey UpdateInterval{kSettingsSection, L("UpdateInterval"), Minutes, L("3")};
// A version the user chose to skip; when missing, the update check takes the
// running version, which this table cannot know.
inline constexpr SettingKey SkipVersion{kSettingsSection, L("SkipVersion"), Text, L("")};
// Where the notice of a change goes: "Auto", "Window" or "Desktop". Only the
// user writes it.
inline constexpr SettingKey NoticeStyle{kSettingsSection, L("NoticeStyle"), Choice, L("Auto")};

// Each window's placement is stored under its object name; empty centres it.
inline constexpr SettingKey MainWindowPlacement{kWindowSettingsSection, L("frmMain"), Placement,
                                                L("")};

inline constexpr SettingKey GridMain{kServersSection, L("GridMain"), ServerUrl,
                                     kDefaultGridMainUrl};
inline constexpr SettingKey GridContent{kServersSection, L("GridContent"), ServerUrl,
                                        kDefaultGridContentUrl};
inline constexpr SettingKey Maker{kServersSection, L("Maker"), ServerUrl, kDefaultMakerUrl};
inline constexpr SettingKey FlexAlerts{kServersSection, L("FlexAlerts"), ServerUrl,
                                       kDefaultFlexAlertsUrl};
// The utilities' servers of the link menus; SDG&E's blackout status has its own.
inline constexpr SettingKey Pge{kServersSection, L("PGE"), ServerUrl, kDefaultPgeUrl};
inline constexpr SettingKey Sce{kServersSection, L("SCE"), ServerUrl, kDefaultSceUrl};
inline constexpr SettingKey Sdge{kServersSection, L("SDGE"), ServerUrl, kDefaultSdgeUrl};
inline constexpr SettingKey SdgeBlackout{kServersSection, L("SDGEBlackout"), ServerUrl,
                                         kDefaultSdgeBlackoutUrl};
// "current" reads today's feeds, "classic" the status file and pages.
inline constexpr SettingKey Feeds{kServersSection, L("Feeds"), Choice, L("current")};

inline constexpr std::array All{
    &AlwaysOnTop,   &AutoCheck,   &AutoUpdate,          &CAISOGraph,  &GraphValues, &PlaySound,
    &ShowAtStartup, &ShowDetails, &UpdateInterval,      &SkipVersion, &NoticeStyle, &GridMain,
    &GridContent,   &Maker,       &FlexAlerts,          &Pge,         &Sce,         &Sdge,
    &SdgeBlackout,  &Feeds,       &MainWindowPlacement,
};

} // namespace SettingKeys

} // namespace voltwise
