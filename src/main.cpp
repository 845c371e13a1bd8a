#include "app/Startup.h"

int main(int argc, char** argv)
{
    return px::RunPixmora(argc, argv);
}
