#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace voltwise {

// Themed common controls on Windows, with an in-memory correction of the
// theme library's DrawThemeParentBackground. Elsewhere the theme library is
// never loaded and start-up skips all of it.

// The bytes written as hex digit pairs: "90E9" gives 90 and E9. Empty when
// a pair is not hex; an odd last digit is dropped.
std::vector<std::uint8_t> HexToBytes(QStringView text);

// The 1-based position of the bytes of hexPattern in buffer plus adjust, or
// 0 when they do not occur (an empty pattern never does).
std::int32_t FindBytePattern(std::span<const std::uint8_t> buffer, QStringView hexPattern,
                             std::int32_t adjust);

// From the end of the jump whose displacement sits at 0-based offset
// displacementPosition to the "8D" three bytes before the last "E8" ahead
// of the first "C9 C2"; 0 when any of them is missing.
std::int32_t FindCallTarget(std::span<const std::uint8_t> buffer,
                            std::int32_t displacementPosition);

// What the activation needs from the system.
class VisualStylePlatform
{
public:
    virtual ~VisualStylePlatform() = default;
    // InitCommonControlsEx with a record of size and classes; false when the
    // platform library lacks the routine.
    virtual bool initCommonControls(std::uint32_t size, std::uint32_t classes) = 0;
    // The handle of "uxtheme.dll" when it is loaded in the process.
    virtual std::optional<std::uintptr_t> themeLibrary() = 0;
    virtual std::optional<std::uintptr_t> routineAddress(std::uintptr_t library,
                                                         const char *name) = 0;
    // Up to size bytes of the process's own memory; fewer, or none, when
    // the rest cannot be read.
    virtual QByteArray readMemory(std::uintptr_t address, std::size_t size) = 0;
    virtual bool writeMemory(std::uintptr_t address, QByteArrayView bytes) = 0;
    // SetThemeAppProperties: 0 switches visual styles off.
    virtual void setThemeAppProperties(std::uint32_t flags) = 0;
};

enum VisualStylesResult : std::int32_t
{
    VisualStylesPatched = 0,
    CommonControlsMissing = 1,
    ThemeLibraryNotLoaded = 2,
    ThemeRoutineMissing = 3,
    PatternNotFound = 4,
};

bool IsThemeLibraryLoaded(VisualStylePlatform &platform);

// Initialises the common controls and corrects the theme routine; on any
// result but 0 and 1, visual styles are switched off for the program.
std::int32_t InitVisualStyles(VisualStylePlatform &platform);

// Linux and other systems: no theme library is ever loaded.
class NoThemeLibraryPlatform final : public VisualStylePlatform
{
public:
    bool initCommonControls(std::uint32_t, std::uint32_t) override { return true; }
    std::optional<std::uintptr_t> themeLibrary() override { return std::nullopt; }
    std::optional<std::uintptr_t> routineAddress(std::uintptr_t, const char *) override
    {
        return std::nullopt;
    }
    QByteArray readMemory(std::uintptr_t, std::size_t) override { return {}; }
    bool writeMemory(std::uintptr_t, QByteArrayView) override { return false; }
    void setThemeAppProperties(std::uint32_t) override {}
};

} // namespace voltwise
