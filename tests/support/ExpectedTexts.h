#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The program's own texts as the tests expect to see them, in code page 932:
// its string table by IDS_ id and its dialogs' captions by IDD_ id, written out
// here once by hand, never read from its resources.
std::string ExpectedString(UINT id);
std::string ExpectedCaption(UINT dialogId);
// Every IDS_ id of the table above.
std::vector<UINT> ExpectedStringIds();

// A message followed by the error details that carry the system error code.
std::string ExpectedError(UINT id, DWORD code);
// The box shown when an engine faults (the exception code and the engine's
// path) or, for CEngineThread::kHungCode, stops responding (the path).
std::string ExpectedFault(DWORD exceptionCode, const std::string& enginePath);
