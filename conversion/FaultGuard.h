#pragma once

#include <windows.h>

// Runs a function so that a structured exception it raises and does not
// handle itself (an access violation, a division by zero, a stack overflow, an
// illegal instruction...) ends the function, not the process. The function's
// frames are abandoned without their destructors: it is meant for calls into
// code we do not own, whose state is not to be trusted afterwards.
class CFaultGuard {
public:
    typedef void (*Function)(void* context);

    // 0 when the function returned, otherwise the code of the exception that ended it.
    static DWORD Run(Function function, void* context);

    template <typename F> static DWORD Run(F& function)
    {
        return Run([](void* context) { (*static_cast<F*>(context))(); }, &function);
    }
};
