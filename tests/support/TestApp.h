#pragma once

// Builds the one application object for a test that runs in-process, with the
// test program's own module (which carries the program's resources) as the
// running application's instance. Safe to call more than once.
void UseTestApplication();
