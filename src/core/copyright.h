#pragma once

#include <QStringView>

namespace voltwise {

// The program's legal notice, shown in the About box. The text stays on a
// line of its own so that the packaging can read it from here.
inline constexpr QStringView kCopyrightNotice =
    u"Copyright © 2026 Ternwood. Licensed under the MIT licence.";

} // namespace voltwise
