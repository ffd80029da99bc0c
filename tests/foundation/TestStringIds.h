#pragma once

// Texts of exact byte lengths around the 128-byte block the program loads into, with ids clear of its own.
#define IDS_TEST_126_BYTES 60000
#define IDS_TEST_127_BYTES 60001
#define IDS_TEST_255_BYTES 60002
#define IDS_TEST_EMPTY 60003
#define IDS_TEST_NO_BLOCK 59000
