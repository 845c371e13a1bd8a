// The window program: single instance, settings, splash and the main window. The `pixmora`
// command hands every request over to it that needs more than a one-shot command.
#include "app/Startup.h"

int main(int argc, char** argv)
{
    return px::RunPixmora(argc, argv);
}
