#pragma once

namespace voltwise {

// The program's start-up: single instance, settings migration, the main
// window and its first refresh; then the event loop.
int Main(int argc, char **argv);

} // namespace voltwise
