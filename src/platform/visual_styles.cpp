#include "platform/visual_styles.h"

#include <algorithm>
#include <array>

namespace voltwise {

namespace {

constexpr std::uint32_t kControlRecordSize = 8;
constexpr std::uint32_t kExtendedComboClasses = 0x200;
constexpr std::size_t kRoutineBytes = 400;

std::optional<int> HexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return std::nullopt;
}

// 0-based offset of the first occurrence, or nothing.
std::optional<std::size_t> Find(std::span<const std::uint8_t> buffer,
                                std::span<const std::uint8_t> pattern)
{
    if (pattern.empty())
        return std::nullopt;
    const auto found = std::search(buffer.begin(), buffer.end(), pattern.begin(), pattern.end());
    if (found == buffer.end())
        return std::nullopt;
    return std::size_t(found - buffer.begin());
}

std::int32_t Patch(VisualStylePlatform &platform)
{
    const auto library = platform.themeLibrary();
    if (!library)
        return ThemeLibraryNotLoaded;
    const auto routine = platform.routineAddress(*library, "DrawThemeParentBackground");
    if (!routine)
        return ThemeRoutineMissing;
    const QByteArray read = platform.readMemory(*routine, kRoutineBytes);
    const std::span<const std::uint8_t> buffer(
        reinterpret_cast<const std::uint8_t *>(read.constData()),
        std::min(std::size_t(read.size()), kRoutineBytes));

    const std::int32_t a = FindBytePattern(buffer, u"83F8020F84", 2);
    const std::int32_t b = FindBytePattern(buffer, u"3BF70F85", 3);
    const std::int32_t d = b > 0 ? FindCallTarget(buffer, b) : 0;
    // A new target after the displacement also keeps the displacement
    // within the bytes read.
    if (a <= 0 || b <= 0 || d <= 0)
        return PatternNotFound;

    const std::vector<std::uint8_t> jump = HexToBytes(u"90E9");
    std::array<char, 4> displacement{};
    for (std::size_t i = 0; i < displacement.size(); ++i)
        displacement[i] = char((std::uint32_t(d) >> (8 * i)) & 0xFF);
    const bool written =
        platform.writeMemory(
            *routine + std::uintptr_t(a),
            QByteArrayView(reinterpret_cast<const char *>(jump.data()), qsizetype(jump.size()))) &&
        platform.writeMemory(*routine + std::uintptr_t(b),
                             QByteArrayView(displacement.data(), displacement.size()));
    return written ? VisualStylesPatched : PatternNotFound;
}

} // namespace

std::vector<std::uint8_t> HexToBytes(QStringView text)
{
    std::vector<std::uint8_t> bytes;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const auto high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (!high || !low)
            return {};
        bytes.push_back(std::uint8_t(*high * 16 + *low));
    }
    return bytes;
}

std::int32_t FindBytePattern(std::span<const std::uint8_t> buffer, QStringView hexPattern,
                             std::int32_t adjust)
{
    const std::vector<std::uint8_t> pattern = HexToBytes(hexPattern);
    const auto offset = Find(buffer, pattern);
    return offset ? std::int32_t(*offset) + 1 + adjust : 0;
}

std::int32_t FindCallTarget(std::span<const std::uint8_t> buffer, std::int32_t displacementPosition)
{
    static constexpr std::array<std::uint8_t, 2> kLeaveReturn{0xC9, 0xC2};
    const auto leave = Find(buffer, kLeaveReturn);
    if (!leave)
        return 0;
    // The nearest call before the leave, and the address load that starts
    // three bytes ahead of it.
    for (std::size_t call = *leave; call-- > 0;) {
        if (buffer[call] != 0xE8)
            continue;
        if (call < 3 || buffer[call - 3] != 0x8D)
            return 0;
        return std::int32_t(call - 3) - (displacementPosition + 4);
    }
    return 0;
}

bool IsThemeLibraryLoaded(VisualStylePlatform &platform)
{
    const auto library = platform.themeLibrary();
    return library && *library > 0;
}

std::int32_t InitVisualStyles(VisualStylePlatform &platform)
{
    if (!platform.initCommonControls(kControlRecordSize, kExtendedComboClasses))
        return CommonControlsMissing;
    const std::int32_t result = Patch(platform);
    if (result != VisualStylesPatched)
        platform.setThemeAppProperties(0);
    return result;
}

} // namespace voltwise
