#include "ZeDedeApp.h"

int main(int argc, char *argv[])
{
    return RunZeDede(argc, argv);
}
