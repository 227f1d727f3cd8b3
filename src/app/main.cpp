// Voltwise: the California power grid's status in the notification area.
#include "app/gui/startup.h"

int main(int argc, char **argv)
{
    return voltwise::Main(argc, argv);
}
