// The embedded engine catches SIGINT and SIGTERM itself and shuts every connection of the
// process down ("connection shutdown"), in the middle of whatever statement runs. A program
// that ends its work on those signals by itself asks the engine to refuse such a shutdown.
#pragma once

// Registers, once, a shutdown callback that refuses a shutdown started by a signal; shutdowns
// for any other reason (the program's exit) go on. Must run before the signal arrives.
void RecusaDesligamentoPorSinal();
