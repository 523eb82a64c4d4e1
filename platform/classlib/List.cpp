#include "classlib/List.h"

IMPLEMENT_DYNAMIC(CPtrList, CObject)
