#pragma once

namespace voltwise::gridsim {

// Makes SIGTERM and SIGINT end the application's event loop normally, so
// the server closes its sockets and the process exits with status 0.
// Call once, after the application object exists.
void QuitOnTerminationSignals();

} // namespace voltwise::gridsim
