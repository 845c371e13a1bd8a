#pragma once

namespace px {

// The whole program: command line, single instance, settings, splash, main window, event loop.
int RunPixmora(int argc, char** argv);

} // namespace px
