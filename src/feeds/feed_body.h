#pragma once

#include <QByteArrayView>

namespace voltwise {

// An error or maintenance page, or a captive portal's, where data was
// expected: declared as HTML, or starting like an HTML document.
bool IsHtmlBody(QByteArrayView body, QByteArrayView contentType);

} // namespace voltwise
