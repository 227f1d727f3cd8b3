#include "update/version.h"

#include <array>
#include <limits>

namespace voltwise {

namespace {

std::int32_t g_buildStage = StageRelease;

struct StageLetter
{
    std::int32_t bit;
    char16_t letter;
};

// In the order the bits are tested and the stages rank.
constexpr std::array<StageLetter, 4> kStageLetters = {{
    {StageDevelopment, u'd'},
    {StageAlpha, u'a'},
    {StageBeta, u'b'},
    {StageFinalCandidate, u'f'},
}};

std::optional<StageLetter> firstStageLetter(std::int32_t buildStage)
{
    for (const StageLetter &stage : kStageLetters)
        if (buildStage & stage.bit)
            return stage;
    return std::nullopt;
}

std::optional<std::int32_t> stageOfLetter(QChar c)
{
    for (const StageLetter &stage : kStageLetters)
        if (c == stage.letter)
            return stage.bit;
    return std::nullopt;
}

struct ParsedVersion
{
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::int32_t stage = StageRelease;
};

std::optional<int> digitValue(QChar c)
{
    if (c < u'0' || c > u'9')
        return std::nullopt;
    return c.unicode() - u'0';
}

// The leading decimal digits, 0 when there are none; empty when the value
// does not fit a 16-bit signed integer.
std::optional<int> leadingNumber(QStringView text)
{
    int value = 0;
    for (const QChar c : text) {
        const auto digit = digitValue(c);
        if (!digit)
            break;
        value = value * 10 + *digit;
        if (value > std::numeric_limits<std::int16_t>::max())
            return std::nullopt;
    }
    return value;
}

std::optional<ParsedVersion> parseVersion(QStringView text)
{
    ParsedVersion version;
    const qsizetype length = text.size();
    if (length >= 1) {
        const auto major = digitValue(text[0]);
        if (!major)
            return std::nullopt;
        version.major = *major;
    }
    if (length >= 3) {
        const auto minor = digitValue(text[2]);
        if (!minor)
            return std::nullopt;
        version.minor = *minor;
    }
    if (length >= 4)
        if (const auto stage = stageOfLetter(text[3]))
            version.stage = *stage;
    if (length >= 5) {
        const auto revision = leadingNumber(text.sliced(4));
        if (!revision)
            return std::nullopt;
        version.revision = *revision;
    }
    if (length >= 1)
        if (const auto stage = stageOfLetter(text.back()))
            version.stage = StageLetterAfterRevision + *stage;
    return version;
}

bool isNewer(const ParsedVersion &c, const ParsedVersion &r, bool finalOnly)
{
    if (finalOnly && c.stage != StageRelease)
        return false;
    if (c.major != r.major)
        return c.major > r.major;
    if (c.minor != r.minor)
        return c.minor > r.minor;
    if (c.revision == r.revision)
        return c.stage > r.stage;
    if (c.revision > r.revision)
        return c.stage >= r.stage || (c.stage & StageLetterAfterRevision);
    return c.stage > r.stage && !(r.stage & StageLetterAfterRevision);
}

} // namespace

void SetBuildStage(std::int32_t stage)
{
    g_buildStage = stage;
}

std::int32_t BuildStage()
{
    return g_buildStage;
}

QString VersionString()
{
    return VersionString(VOLTWISE_VERSION_MAJOR, VOLTWISE_VERSION_MINOR, VOLTWISE_VERSION_PATCH,
                         BuildStage());
}

QString VersionString(int major, int minor, int revision, std::int32_t buildStage)
{
    QString text = QString::number(major) + u'.' + QString::number(minor);
    const auto letter = firstStageLetter(buildStage);
    if (letter && (buildStage & StageLetterAfterRevision))
        return text + u'.' + QString::number(revision) + QChar(letter->letter);
    if (letter)
        return text + QChar(letter->letter) + QString::number(revision);
    if (revision != 0)
        text += u'.' + QString::number(revision);
    return text;
}

std::optional<bool> IsNewerVersion(QStringView candidate, QStringView reference, bool finalOnly)
{
    const auto c = parseVersion(candidate);
    const auto r = parseVersion(reference);
    if (!c || !r)
        return std::nullopt;
    return isNewer(*c, *r, finalOnly);
}

} // namespace voltwise
