#include "app/arbolixapp.h"
#include "app/standarddescriptors.h"

int main(int argc, char** argv)
{
    openClosedStandardDescriptors();
    return theApp.Run(argc, argv);
}
