#pragma once

// The probe engines: test engines built from ProbeEngine.c, one per variant, into
// bin\testengines (apart from the engines we ship, so that no listing of bin takes
// them for real ones). Every variant is a complete engine unless its line says
// otherwise; the name in brackets is the one it writes into the call log.
//
//   ProbeComplete.TXV     [complete]      all eight exports, API version 0x00010000, written in C
//   ProbeCompleteCxx.TXV  [completecxx]   the same, compiled as C++
//   ProbeBare.TXV         [bare]          no TXVOnSetting, TXVOnAbout, TXVExitEngine
//   ProbeApi00000001.TXV  [api00000001]   API version 0x00000001 (accepted)
//   ProbeApi0001FFFF.TXV  [api0001ffff]   API version 0x0001FFFF (accepted)
//   ProbeApi00020000.TXV  [api00020000]   API version 0x00020000 (rejected: too high)
//   ProbeApi00000000.TXV  [api00000000]   API version 0 (rejected: not an engine)
//   ProbeNoApiVersion.TXV [noapiversion]  no TXVGetAPIVersion (rejected: not an engine)
//   ProbeInitFails.TXV    [initfails]     TXVInitEngine returns 0
//   ProbeDeclines.TXV     [declines]      conversion writes "declined" into the buffer but returns 0
//   ProbeSelective.TXV    [selective]     declines texts that begin with '-' and converts the others
//   ProbeUnterminated.TXV [unterminated]  description, version and conversion fill the whole buffer
//                                         with the pairs 0x95 0x5C and write no terminating zero
//   ProbeNoDescription.TXV [nodescription] no TXVGetEngineDescription (left out of the engine list)
//   ProbeNoVersionText.TXV [noversiontext] TXVGetEngineVersion returns 0 (left out of the engine list)
//   ProbeNoExports.TXV    [noexports]     exports nothing (rejected: not an engine)
//   ProbeWritesNothing.TXV [writesnothing] conversion returns non-zero and writes nothing
//   ProbeFillsBuffer.TXV  [fillsbuffer]   conversion fills the whole buffer with 'W', no terminating zero
//   ProbeLongDescription.TXV [longdescription] description is 200 bytes 'D' and no terminating zero
//   ProbeSettingBox.TXV   [settingbox]    TXVOnSetting shows a message box "Probe settings" owned by
//                                         its parent window before it switches the brackets
//   ProbeFaulting.TXV     [faulting]      compiled as C++; the environment variable MORVANE_FAULT picks a
//                                         fault: "access", "divide", "stack" or "illegal" in the conversion,
//                                         "throw" a C++ exception from it, "hang" a conversion that never
//                                         returns, "timer" one that starts a timer logging "timer" every
//                                         100 ms on its thread, then makes an access violation, "setting"
//                                         (an access violation) in TXVOnSetting, "exit" (an access
//                                         violation) in TXVExitEngine, "box" a message box "Probe engine"
//                                         from every conversion; each after its log line
//
// Texts: description "Probe engine <name>", version "API <8 hex digits>" (e.g. "API 00010000").
// Conversion: "[" + text + "]", cut to the output buffer, any class name; after an odd number of
// TXVOnSetting calls since TXVInitEngine it is "<" + text + ">" instead, so a refreshed preview shows.
// Apart from ProbeSettingBox's box, TXVOnSetting and TXVOnAbout show nothing.
//
// Call log: when the environment variable MORVANE_ENGINE_LOG names a file, each call appends one
// line "<name> <call>[ <details>]\n" to it, the file opened and closed per call (so another
// process, e.g. a test driving Morvane.exe, sees it). <call> is an export name, or "attach" and
// "detach" for the library being mapped and freed. Details: for TXVConvertCaptionString the class
// name and the output buffer size ("complete TXVConvertCaptionString @Sample 512"); for
// TXVOnSetting and TXVOnAbout the owner window as 8 upper-case hex digits.

#include <string>

#include "tests/support/ProbeLog.h"
#include "tests/support/ProcessDriver.h"

inline std::string TestEnginePath(const std::string& fileName)
{
    return BinaryFolder() + "\\testengines\\" + fileName;
}
