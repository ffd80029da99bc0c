#include "conversion/FaultGuard.h"

#include <malloc.h>
#include <signal.h>
#include <stdlib.h>

// MinGW has no __try, so the frame is built by hand: MorvaneGuardedCall links
// an exception registration on fs:[0], {next, handler, exception code, x87
// control word}, around the call. The handler unwinds the registrations made
// inside the call (their handlers get to clean up) and resumes at the recovery
// point with the stack pointer where the registration lies; everything after
// that point reads the stack only through the stack pointer, so no other
// register needs to survive the fault.
extern "C" {
DWORD __cdecl MorvaneGuardedCall(CFaultGuard::Function function, void* context);
[[noreturn]] void __cdecl MorvaneFaultResume(void* frame, EXCEPTION_RECORD* record);
EXCEPTION_DISPOSITION __cdecl MorvaneFaultHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                                  void* dispatcherContext);
}

__asm__(".text\n"
        ".globl _MorvaneGuardedCall\n"
        "_MorvaneGuardedCall:\n"
        "    pushl %ebp\n"
        "    pushl %ebx\n"
        "    pushl %esi\n"
        "    pushl %edi\n"
        "    subl $4, %esp\n"
        "    fnstcw (%esp)\n"
        "    pushl $0\n"
        "    pushl $_MorvaneFaultHandler\n"
        "    pushl %fs:0\n"
        "    movl %esp, %fs:0\n"
        // Above the registration (16 bytes), the saved registers (16) and
        // the return address lie the function and its context, 36 and 40
        // bytes up; once the context is pushed, the function lies 40 up.
        "    pushl 40(%esp)\n"
        "    call *40(%esp)\n"
        "    addl $4, %esp\n"
        "    jmp 1f\n"
        "_MorvaneFaultRecover:\n"
        // The function may have left the x87 unit with pending exceptions,
        // values on its stack or a control word of its own.
        "    fninit\n"
        "    fldcw 12(%esp)\n"
        "    cld\n"
        "1:\n"
        "    movl (%esp), %eax\n"
        "    movl %eax, %fs:0\n"
        "    movl 8(%esp), %eax\n"
        "    addl $16, %esp\n"
        "    popl %edi\n"
        "    popl %esi\n"
        "    popl %ebx\n"
        "    popl %ebp\n"
        "    ret\n"
        "\n"
        ".globl _MorvaneFaultResume\n"
        "_MorvaneFaultResume:\n"
        // RtlUnwind keeps no register worth trusting; the frame is read back
        // through the stack pointer, which it restores.
        "    pushl $0\n"
        "    pushl 12(%esp)\n"
        "    pushl $0\n"
        "    pushl 16(%esp)\n"
        "    call _RtlUnwind@16\n"
        "    movl 4(%esp), %esp\n"
        "    jmp _MorvaneFaultRecover\n");

EXCEPTION_DISPOSITION __cdecl MorvaneFaultHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*)
{
    // Warnings and notices (a breakpoint, a debugger's print) pass: only an
    // error that nothing above handled would end the process.
    const DWORD kSeverityError = 0xC0000000;
    if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0 ||
        (record->ExceptionCode & kSeverityError) != kSeverityError)
        return ExceptionContinueSearch;
    static_cast<DWORD*>(frame)[2] = record->ExceptionCode;
    MorvaneFaultResume(frame, record);
}

namespace {

// How many guarded calls the running thread is inside.
__thread int t_nGuardDepth;

// A C++ exception that leaves a MinGW-built engine finds no unwind data for
// the guard's frame, and the engine's runtime calls abort. On a thread inside
// a guarded call, the abort becomes an exception that ends the call instead.
void OnAbort(int)
{
    // The runtime resets the handler before calling it.
    signal(SIGABRT, OnAbort);
    if (t_nGuardDepth > 0)
        RaiseException(CFaultGuard::kAbortedCode, EXCEPTION_NONCONTINUABLE, 0, NULL);
}

BOOL TrapAborts()
{
    // Otherwise the runtime shows its box of a GUI program ending before it raises the signal.
    _set_error_mode(_OUT_TO_STDERR);
    signal(SIGABRT, OnAbort);
    return TRUE;
}

} // namespace

DWORD CFaultGuard::Run(Function function, void* context)
{
    static const BOOL s_bTrapped = TrapAborts();
    (void)s_bTrapped;
    ++t_nGuardDepth;
    DWORD code = MorvaneGuardedCall(function, context);
    --t_nGuardDepth;
    // The overflow used up the stack's guard page: without a new one the next
    // overflow would find no room to be handled in.
    if (code == EXCEPTION_STACK_OVERFLOW)
        _resetstkoflw();
    return code;
}
