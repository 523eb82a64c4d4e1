// The class library: a thin C++ layer over Win32 (ANSI) for Osmira's windows, dialogs, text, files and drawing.
// This header includes them all, for a program that uses most of the library:
//
//   #include "classlib/ClassLib.h"
//
// A library built on this one (the framework) includes only the headers of the classes it uses, so that a change to
// one header rebuilds only its users. The headers:
// Object.h      CObject, CRuntimeClass and the DECLARE_/IMPLEMENT_ macros
// CmdTarget.h   CCmdTarget, message maps, the command/notification entries and the reference count
// RefCount.h   CRefCount, the one reference count;  RefPtr.h  RefPtr, the pointer that holds a reference
// ScopedHandle.h ScopedHandle and its kinds: kernel, find, GDI, DC handles and DC selections closed by scope
// InterfaceMap.h interface maps and the automation IDispatch of a command target
// CmdUI.h       CCmdUI and the ON_UPDATE_COMMAND_UI entries;  FrameMessages.h  the frame messages and bar constants
// Wnd.h         CWnd (with WndMessageMap.h: the ON_WM_* entries)
// Dialog.h      CDialog, modal and modeless
// FrameWnd.h    CFrameWnd;  FrameLayout.h  WM_SIZEPARENT's parameters;  MDIFrameWnd.h, MDIChildWnd.h  CMDIFrameWnd,
//               CMDIChildWnd;  MiniFrameWnd.h  CMiniFrameWnd
// DataExchange.h CDataExchange, DDX_ and DDV_ functions
// Controls.h    CStatic, CButton, CEdit, CListBox, CComboBox, CScrollBar, CProgressCtrl
// ToolTipCtrl.h CToolTipCtrl;  ToolBar.h  CToolBar (command buttons with command-UI updates)
// CommonDialogs.h CColorDialog, CFileDialog (open)
// ReBar.h      CReBar, the frame's rebar bar;  ControlBar.h  CControlBar, the base of the bars on a frame's sides
// WinApp.h      CWinApp, the entry routine, AfxGetApp, AfxMessageBox
// WinThread.h   CWinThread, AfxBeginThread, AfxGetThread;  ThreadLocal.h  CThreadLocal
// SyncObject.h  CSyncObject, CEvent, CCriticalSection;  SingleLock.h  CSingleLock
// CString.h     CString;  Geometry.h  CPoint, CSize, CRect
// File.h        CFile, CStdioFile, CFileException;  FileFind.h  CFileFind
// Gdi.h         CGdiObject, CPen, CBrush, CFont, CBitmap, CRgn;  DC.h  CDC, CPaintDC, CClientDC, CWindowDC
// Menu.h        CMenu;  ImageList.h  CImageList
// Exception.h   CException, CMemoryException, CNotSupportedException, CArchiveException and the AfxThrow functions
// MemFile.h     CMemFile;  SharedFile.h  CSharedFile;  Archive.h  CArchive
// Map.h, Array.h, List.h  CMap, CMapStringToPtr, CArray (CPtrArray, CDWordArray, CUIntArray, CStringArray),
//                         CList (CPtrList)
// OleDataObject.h COleDataObject (reading the clipboard, its formats);  OleDateTime.h  COleDateTime
// OleDocument.h COleDocument, COleClientItem;  OleDocObjectItem.h  COleDocObjectItem (a document object's item)
#pragma once

#include "classlib/ClassLibBase.h"
#include "classlib/Object.h"
#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/RefCount.h"
#include "classlib/RefPtr.h"
#include "classlib/CmdTarget.h"
#include "classlib/Gdi.h"
#include "classlib/DC.h"
#include "classlib/Menu.h"
#include "classlib/ImageList.h"
#include "classlib/Wnd.h"
#include "classlib/CmdUI.h"
#include "classlib/ControlBar.h"
#include "classlib/FrameWnd.h"
#include "classlib/MDIFrameWnd.h"
#include "classlib/MDIChildWnd.h"
#include "classlib/MiniFrameWnd.h"
#include "classlib/DocTemplate.h"
#include "classlib/View.h"
#include "classlib/RecentFileList.h"
#include "classlib/OleDocument.h"
#include "classlib/OleDocObjectItem.h"
#include "classlib/Controls.h"
#include "classlib/ToolTipCtrl.h"
#include "classlib/ToolBar.h"
#include "classlib/CommonDialogs.h"
#include "classlib/ReBar.h"
#include "classlib/Dialog.h"
#include "classlib/DataExchange.h"
#include "classlib/WinThread.h"
#include "classlib/WinApp.h"
#include "classlib/ThreadLocal.h"
#include "classlib/SyncObject.h"
#include "classlib/SingleLock.h"
#include "classlib/File.h"
#include "classlib/FileFind.h"
#include "classlib/Exception.h"
#include "classlib/Archive.h"
#include "classlib/Map.h"
#include "classlib/Array.h"
#include "classlib/List.h"
#include "classlib/MemFile.h"
#include "classlib/SharedFile.h"
#include "classlib/OleDataObject.h"
#include "classlib/OleDateTime.h"
