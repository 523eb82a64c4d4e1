#include "classlib/View.h"

IMPLEMENT_DYNAMIC(CView, CWnd)
