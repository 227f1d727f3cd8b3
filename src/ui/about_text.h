#pragma once

#include <QString>

namespace voltwise {

// "About Voltwise..."
QString AboutCaption();

// "Voltwise version <version>", CR LF, the copyright notice.
QString AboutText();

} // namespace voltwise
