#pragma once

// Test-only templates, numbered above the program's own resources.
#define IDD_FRAMEWORK_TEST 60001
#define IDD_FRAMEWORK_MISSING 60099
