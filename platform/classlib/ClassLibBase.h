// What every header of the class library needs: the Win32 headers of the ANSI build, the few classic helper
// macros callers use (ASSERT, VERIFY, TRACE, afx_msg), and forward declarations of the library's classes.
// Include it directly where a header needs only the Win32 headers and those declarations; otherwise include the
// header of each class used.
#pragma once

#ifndef STRICT
#define STRICT
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>  // always: its A/W macros (GetFileTitle) rename members of ours, the same way in every unit
#include <shellapi.h>
#include <tchar.h>

#include <cstddef>
#include <cstdint>

// A two-argument macro in the system headers; CWnd has a member of that name.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

// Handler declarations in class bodies are marked afx_msg; it only documents that the map calls them.
#ifndef afx_msg
#define afx_msg
#endif

#ifndef PASCAL
#define PASCAL __stdcall
#endif

namespace osm_classlib_detail {
// Writes a debugging line to the debugger; kept out of line so every translation unit need not see <cstdio>.
void DebugTrace(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
void AssertFailed(const char* file, int line, const char* expression);
}  // namespace osm_classlib_detail

#ifdef NDEBUG
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#else
#define ASSERT(f) ((f) ? (void)0 : ::osm_classlib_detail::AssertFailed(__FILE__, __LINE__, #f))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) ::osm_classlib_detail::DebugTrace(__VA_ARGS__)
#endif
#define ASSERT_VALID(p) ASSERT((p) != nullptr)

class CObject;
struct CRuntimeClass;
class CCmdTarget;
class CWinApp;
class CWnd;
class CDialog;
class CDataExchange;
class CString;
class CRect;
class CPoint;
class CSize;
class CDC;
class CGdiObject;
class CFont;
class CBrush;
class CPen;
class CBitmap;
class CRgn;
class CMenu;
class CImageList;
class CException;
class CFile;
class CArchive;

// Where a walk through a list or map stands (GetHeadPosition, GetNext ...); null when the walk is over. It points at
// the collection's node, but only the collection may look inside.
struct OsmCollectionPosition;
using POSITION = OsmCollectionPosition*;

// The module whose resources (dialogs, strings, icons) the library loads: the program's own unless changed.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
