#pragma once

#include <QString>
#include <QStringView>

namespace voltwise {

// Drops every tag with its delimiters and the white space that directly
// follows a tag; text before the first tag and between tags is kept as is.
// A "<" always opens a tag; an unclosed tag swallows the rest of the text.
QString StripTags(QStringView text);

// Removes blanks at both ends, then CR and LF at the start and at the end.
// Blanks that reach an edge only after the second step stay.
QString TrimLineBreaks(QStringView text);

// The text without the controls that override or isolate its direction
// (U+202A to U+202E, U+2066 to U+2069), with which a text can be made to
// read otherwise than it was written; the rest unchanged.
QString WithoutDirectionControls(QString text);

// The text before the first NUL character, or the whole text.
QString CutAtNul(QStringView text);

} // namespace voltwise
