// Standard input, output and error that the program was started without.
#ifndef ARBOLIX_APP_STANDARDDESCRIPTORS_H
#define ARBOLIX_APP_STANDARDDESCRIPTORS_H

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Called first thing, before
// anything opens a file, a socket or the X connection: any of them would otherwise take the
// free number, and a warning meant for standard error would be written into it.
void openClosedStandardDescriptors();

#endif
