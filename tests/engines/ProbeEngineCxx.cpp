// The probe engine compiled as C++, so that the engine header is proven in a C++ engine as well.
#include "ProbeEngine.c"
