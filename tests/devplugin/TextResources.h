#pragma once

// String resources of the test program.
#define IDS_SHORT_TEXT 201
#define IDS_LONG_ASCII 202  // 1200 ASCII characters
#define IDS_LONG_GBK 203    // 600 double-byte characters
#define IDS_ABSENT 299      // no such resource
