#pragma once

#include <windows.h>

// What the benchmark driver asks of its target program, by messages sent to
// the target's main window.
const char* const kBenchTargetClass = "MorvaneBenchTarget";
const char* const kBenchPageClass = "MorvaneBenchPage";
const char* const kBenchConverterClass = "MorvaneBenchConverter";

// Makes the main window (wParam 0) or page wParam the foreground window and
// starts the first-conversion clock; returns TRUE when the system made it the
// foreground window.
const UINT WM_BENCH_FOREGROUND = WM_APP + 1;
// Microseconds from WM_BENCH_FOREGROUND until every control had been
// converted, or -1 while some have not.
const UINT WM_BENCH_FIRST_CONVERT_US = WM_APP + 2;
// How many times the sentinel control was converted: one per conversion tick.
const UINT WM_BENCH_TICKS = WM_APP + 3;
// wParam FALSE leaves the sentinel as converted, so that ticks call no engine.
const UINT WM_BENCH_SENTINEL = WM_APP + 4;
// Makes the decoy, a window without controls, the foreground window.
const UINT WM_BENCH_DECOY = WM_APP + 5;
// Creates wParam push buttons in a new hidden window and returns the
// microseconds the creation took, then destroys them.
const UINT WM_BENCH_CREATE = WM_APP + 6;
// How many buttons of the last WM_BENCH_CREATE showed a converted text right
// after their creation.
const UINT WM_BENCH_CREATED_CONVERTED = WM_APP + 7;
// Microseconds from the first control converted after WM_BENCH_FOREGROUND
// to the last, the converting tick's own time; -1 while some are not.
const UINT WM_BENCH_CONVERT_SPAN_US = WM_APP + 8;
