#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace voltwise {

// Bits of a build stage: a stage letter, where the letter goes, or none.
enum BuildStageFlag : std::int32_t
{
    StageDevelopment = 1,    // "d"
    StageAlpha = 2,          // "a"
    StageBeta = 4,           // "b"
    StageFinalCandidate = 8, // "f"
    StageLetterAfterRevision = 16,
    StageRelease = 128, // no letter
};

// The running build's stage, set once at start-up before anything reads it.
void SetBuildStage(std::int32_t stage);
std::int32_t BuildStage();

// The running program's version text, e.g. "2.0.10".
QString VersionString();

// "2.1.3", "2.1b3" or "2.1.3b", depending on the stage bits.
QString VersionString(int major, int minor, int revision, std::int32_t buildStage);

// Whether version text candidate denotes a newer version than reference.
// With finalOnly, a candidate that carries a stage letter is never newer.
// Empty when either text cannot be read: a major or minor digit that is not
// a digit, or a revision beyond 32767.
std::optional<bool> IsNewerVersion(QStringView candidate, QStringView reference, bool finalOnly);

} // namespace voltwise
