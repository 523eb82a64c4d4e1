// Ids of the image editor tests' own strings (ImageEditorTests.rc).
#pragma once

#define IDS_TEST_TIP_NO_NEWLINE 30001
#define IDS_TEST_TIP_LONG 30002
// No string has this id.
#define IDS_TEST_TIP_MISSING 30003
